#include "engine/Voice.h"

#include <cmath>

#include "control/ParameterIndex.h"
#include "engine/NoiseGenerator.h"
#include "engine/PitchToFrequency.h"

namespace {

constexpr double kInverse127 = 1.0 / 127.0;
constexpr int kOctaveValueOfUnison = 3;  // "DCO Octave" 3 plays at the note's pitch

// Parameters of an oscillator group, in table order.
enum DcoParameter { kOctave, kWaveform, kFoot16, kFoot8, kFoot4, kFoot2 };

int Round(double plain) {
  return static_cast<int>(std::lround(plain));
}

}  // namespace

double Voice::GainForVelocity(int velocity, double amount) {
  return (velocity * kInverse127 - 1.0) * amount + 1.0;
}

void Voice::SetPerformance(const PerformanceValues* performance) {
  dco1_.BindPitchBend(&performance->pitchBendOffset);
  dco2_.BindPitchBend(&performance->pitchBendOffset);
}

void Voice::SetTables(IncrementTable& increments, CutoffTable& cutoffs) {
  increments_ = &increments;
  cutoffs_ = &cutoffs;
}

void Voice::SetFootageMixes(FootageMixes* mixes) {
  dco1_.BindFootageMixes(mixes);
  dco2_.BindFootageMixes(mixes);
}

void Voice::SetSampleRate(double rate) {
  sampleRate_ = rate;
  active_ = keyHeld_ = gate_ = sustained_ = false;
  key_ = kResetKey;
  notePitchIndex_ = kResetKey * static_cast<double>(kStepsPerSemitone);
  velocity_ = 0;
  startStamp_ = 0;
  // An owner that has not bound its tables yet gets no oscillators or filter.
  if (increments_ != nullptr) {
    dco1_.SetSampleRate(*increments_, rate);
    dco2_.SetSampleRate(*increments_, rate);
  }
  filter_.SetSampleRate(cutoffs_, rate);
  for (DigitalEnvelope* deg : {&deg1_, &deg2_}) deg->SetSampleRate(rate);
}

void Voice::StartVoice(int key, int velocity, int stamp) {
  notePitchIndex_ = owner_ != nullptr ? owner_->PitchIndexForKey(key)
                                      : key * static_cast<double>(kStepsPerSemitone);
  active_ = keyHeld_ = gate_ = true;
  key_ = key;
  velocity_ = velocity;
  startStamp_ = stamp;
  keyTrackOffset_ = Vcf::KeyTrackOffset(key, filter_.KeyTrackAmount(), legacy_);
  velocityGain_ = GainForVelocity(velocity, velocityAmount_);
  deg1_.EnvelopeStart();
  if (doubleMode_) deg2_.EnvelopeStart();
  if (ownFilter_) filter_.StartEnvelope();
}

void Voice::Release() {
  keyHeld_ = false;
  if (sustained_) return;
  gate_ = false;
  ReleaseEnvelopes();
}

void Voice::ForceRelease() {
  keyHeld_ = gate_ = false;
  ReleaseEnvelopes();
}

void Voice::ReleaseEnvelopes() {
  deg1_.EnvelopeRelease();
  deg2_.EnvelopeRelease();
  filter_.ReleaseEnvelope();
}

void Voice::VoiceControlUpdate(double pitchModulation, double vcfModulation) {
  vcfModulation_ = vcfModulation;
  if (!active_) return;
  const double pitch = pitchModulation + notePitchIndex_;
  dco1_.SetPitch(pitch);
  if (doubleMode_) dco2_.SetPitch(pitch);
  active_ = !deg1_.IsIdle() || !deg2_.IsIdle() || (ownFilter_ && filter_.Busy());
}

double Voice::RenderVoice() {
  if (!active_) return 0.0;
  const double mix = RenderSources();
  if (!ownFilter_) return mix * velocityGain_;
  int offset = 0;
  const double input = PrepareOwnFilter(mix, DrawsNoise() ? noise_->Next() : 0.0, offset);
  return filter_.Filter().Process(input, offset) * velocityGain_;
}

void Voice::SetParameter(int index, double plain, double n) {
  if (index >= kDco1Octave && index <= kDco1Foot2) {
    SetDcoParameter(dco1_, index - kDco1Octave, plain, n);
    return;
  }
  if (index >= kDco2Octave && index <= kDco2Foot2) {
    SetDcoParameter(dco2_, index - kDco2Octave, plain, n);
    return;
  }
  if (index >= kDeg1Attack && index <= kDeg1Release) {
    deg1_.SetParameter(index - kDeg1Attack, n);
    return;
  }
  if (index >= kDeg2Attack && index <= kDeg2Release) {
    deg2_.SetParameter(index - kDeg2Attack, n);
    return;
  }
  switch (index) {
    case kDco1Level:
      dco1Level_ = n;
      break;
    case kDco2Level:
      dco2Level_ = n;
      break;
    case kDcoMode:
      doubleMode_ = n >= 0.5;
      break;
    case kDco2Interval:
      dco2_.SetInterval(Round(plain));
      break;
    case kDco2Detune:
      dco2_.SetDetune(n);
      break;
    case kGodMode:
      ForceRelease();
      // The own filter is emptied whenever it goes out of or into use, so no state it
      // froze in between sounds in a later note.
      if (ownFilter_ != (n >= 0.5)) filter_.Clear();
      ownFilter_ = n >= 0.5;
      break;
    case kVelocity:
      velocityAmount_ = n;
      break;
    case kLegacyMode:
      SetLegacy(n >= 0.5);
      break;
    default:
      filter_.SetParameter(index, n, active_);  // the own filter's settings
      break;
  }
}

void Voice::SetDcoParameter(Dco& dco, int offset, double plain, double n) {
  switch (offset) {
    case kOctave:
      dco.SetOctave(Round(plain) - kOctaveValueOfUnison);
      break;
    case kWaveform:
      dco.SetWaveform(n);
      break;
    default:
      dco.SetFootageLevel(static_cast<Dco::Footage>(offset - kFoot16), n);
      break;
  }
}

// One switch for the whole voice: detune curve, cutoff range, envelope shape
// and the filter sweep's depth and smoothing change together, mid-note too.
void Voice::SetLegacy(bool legacy) {
  legacy_ = legacy;
  dco2_.SetLegacyDetune(legacy);
  filter_.SetLegacy(legacy);
  for (DigitalEnvelope* deg : {&deg1_, &deg2_}) deg->SetLinearMode(legacy);
}
