#include "engine/Voice.h"

#include <cmath>

#include "control/ParameterIndex.h"
#include "engine/NoiseGenerator.h"
#include "engine/PitchToFrequency.h"

namespace {

constexpr double kInverse127 = 1.0 / 127.0;
constexpr double kSmootherCorner = 40.0;  // Hz
constexpr int kOctaveValueOfUnison = 3;   // "DCO Octave" 3 plays at the note's pitch

// Parameters of an oscillator group and of an envelope, in table order.
enum DcoParameter { kOctave, kWaveform, kFoot16, kFoot8, kFoot4, kFoot2 };
enum EnvelopeParameter { kAttack, kDecay, kBreakPoint, kSlope, kSustain, kRelease, kPerEnvelope };

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
    vcf_.SetSampleRate(*cutoffs_, rate);
  }
  for (DigitalEnvelope* deg : {&deg1_, &deg2_, &deg3_}) deg->SetSampleRate(rate);
  deg3Smoother_.Setup(rate, kSmootherCorner);
}

void Voice::StartVoice(int key, int velocity, int stamp) {
  notePitchIndex_ = owner_ != nullptr ? owner_->PitchIndexForKey(key)
                                      : key * static_cast<double>(kStepsPerSemitone);
  active_ = keyHeld_ = gate_ = true;
  key_ = key;
  velocity_ = velocity;
  startStamp_ = stamp;
  keyTrackOffset_ = Vcf::KeyTrackOffset(key, keyTrackAmount_, legacy_);
  velocityGain_ = GainForVelocity(velocity, velocityAmount_);
  deg1_.EnvelopeStart();
  if (doubleMode_) deg2_.EnvelopeStart();
  if (ownFilter_) {
    if (legacy_) deg3_.SetLevel(0.0);  // the legacy filter sweep always starts from closed
    deg3_.EnvelopeStart();
  }
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
  for (DigitalEnvelope* deg : {&deg1_, &deg2_, &deg3_}) deg->EnvelopeRelease();
}

void Voice::VoiceControlUpdate(double pitchModulation, double vcfModulation) {
  vcfModulation_ = vcfModulation;
  if (!active_) return;
  const double pitch = pitchModulation + notePitchIndex_;
  dco1_.SetPitch(pitch);
  if (doubleMode_) dco2_.SetPitch(pitch);
  active_ =
      !deg1_.IsIdle() || !deg2_.IsIdle() || (ownFilter_ && (!deg3_.IsIdle() || vcf_.IsRinging()));
}

double Voice::RenderVoice() {
  if (!active_) return 0.0;
  const double mix = RenderSources();
  if (!ownFilter_) return mix * velocityGain_;
  int offset = 0;
  const double input = PrepareOwnFilter(mix, offset);
  return vcf_.Process(input, offset) * velocityGain_;
}

double Voice::RenderSources() {
  double mix = 0.0;
  deg1_.EnvelopeStep();
  if (dco1Level_ > 0.0) {
    const double e = deg1_.Level();
    mix = dco1_.Render() * e * e * dco1Level_;
  }
  deg2_.EnvelopeStep();
  if (doubleMode_ && dco2Level_ > 0.0) {
    const double e = deg2_.Level();
    mix += dco2_.Render() * e * e * dco2Level_;
  }
  return mix;
}

double Voice::PrepareOwnFilter(double mix, int& offset) {
  deg3_.EnvelopeStep();
  const double e = legacy_ ? deg3Smoother_.Process(deg3_.Level()) : deg3_.Level();
  if (noiseWeight_ > 0.0) {
    const double shape = legacy_ ? e : e * e;
    mix += shape * velocityGain_ * noiseWeight_ * noise_->Next();
  }
  offset = static_cast<int>(keyTrackOffset_ + vcfModulation_ + egDepth_ * e);
  return mix;
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
  if (index >= kDeg1Attack && index <= kDeg3Release) {
    DigitalEnvelope* const degs[] = {&deg1_, &deg2_, &deg3_};
    const int offset = index - kDeg1Attack;
    SetEnvelopeParameter(*degs[offset / kPerEnvelope], offset % kPerEnvelope, n);
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
    case kNoiseLevel:
      noiseLevel_ = n;
      UpdateNoiseWeight();
      break;
    case kVcfCutoff:
      vcf_.SetCutoff(n, active_);
      break;
    case kVcfResonance:
      vcf_.SetResonance(n);
      break;
    case kVcfKbdTrack:
      keyTrackAmount_ = n;
      break;
    case kVcfEgPolarity:
      polarityNegative_ = n < 0.5;
      egIntensity_ = polarityNegative_ ? -std::fabs(egIntensity_) : std::fabs(egIntensity_);
      UpdateEgDepth();
      break;
    case kVcfEgIntensity:
      egIntensity_ = polarityNegative_ ? -n : n;
      UpdateEgDepth();
      break;
    case kGodMode:
      ForceRelease();
      ownFilter_ = n >= 0.5;
      break;
    case kVelocity:
      velocityAmount_ = n;
      break;
    case kLegacyMode:
      SetLegacy(n >= 0.5);
      break;
    default:
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

void Voice::SetEnvelopeParameter(DigitalEnvelope& deg, int offset, double n) {
  switch (offset) {
    case kAttack:
      deg.SetAttack(n);
      break;
    case kDecay:
      deg.SetDecay(n);
      break;
    case kBreakPoint:
      deg.SetBreakPoint(n);
      break;
    case kSlope:
      deg.SetSlope(n);
      break;
    case kSustain:
      deg.SetSustain(n);
      break;
    default:
      deg.SetRelease(n);
      break;
  }
}

// One switch for the whole voice: detune curve, cutoff range, envelope shape
// and the filter sweep's depth and smoothing change together, mid-note too.
void Voice::SetLegacy(bool legacy) {
  legacy_ = legacy;
  dco2_.SetLegacyDetune(legacy);
  vcf_.SetLegacy(legacy);
  for (DigitalEnvelope* deg : {&deg1_, &deg2_, &deg3_}) deg->SetLinearMode(legacy);
  UpdateEgDepth();
  UpdateNoiseWeight();
}

void Voice::UpdateEgDepth() {
  egDepth_ = egIntensity_ * (legacy_ ? Vcf::kLegacyEnvelopeDepth : Vcf::kEnvelopeDepth);
}

void Voice::UpdateNoiseWeight() {
  noiseWeight_ = legacy_ ? noiseLevel_ * noiseLevel_ : noiseLevel_;
}
