#include "control/ModelCalibration.h"
#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"

namespace {

// Parameters whose values live (also) in the voices.
bool ReachesVoices(int index) {
  return (index >= kDco1Octave && index <= kVcfTrigger) ||
         (index >= kDeg1Attack && index <= kDeg3Release) || index == kGodMode ||
         index == kVelocity || index == kLegacyMode || index >= kFirstReserved;
}

}  // namespace

// Turns a stored parameter value into engine state. The caller holds the lock.
void Tarsyn7::ParameterChanged(int index) {
  Synth::ParameterChanged(index);
  const Parameter* parameter = GetParameter(index);
  if (!parameter) return;
  const double plain = parameter->Clamp(parameter->Value());
  const double n = parameter->ToNormalized(plain);
  CalibrateModels(index, plain, n, legacyModel_, currentModel_);
  ApplyParameter(index, plain, n);
  globalPath_.SetParameter(index, n);
  if (ReachesVoices(index)) {
    for (Voice& voice : voices_) voice.SetParameter(index, plain, n);
  }
}

void Tarsyn7::ApplyParameter(int index, double plain, double n) {
  const bool flag = n >= 0.5;
  switch (index) {
    case kVolume:
      output_.SetVolume(n);
      break;
    case kTune:
      tuneOffset_ = plain * 64.0;
      break;
    case kBend:
      bendRange_ = plain * 128.0;
      break;
    case kSeqFrequency:
      sequencerSpeed_ = plain;
      sequencerSpeedStep_ = static_cast<int>(n * 19.0);
      UpdateStepLength();
      break;
    case kMode:
      ApplyKeyMode(flag ? kChord : kPoly);
      break;
    case kDcoMode:
      doubleDco_ = n > 0.5;
      SetVoiceCount();
      break;
    case kChorus:
      output_.SetChorusOn(n > 0.0);
      output_.GetChorus().SetDepth(ActiveModel().chorusDepth * 0.2);
      break;
    case kMgFrequency:
      mg_.SetIncrement(ActiveModel().mgPhaseIncrement);
      break;
    case kSeqClock:
      sequencerHostClock_ = flag;
      UpdateStepLength();
      break;
    case kSeqPlayOnNote:
      sequencerPlayOnNote_ = flag;
      break;
    case kSeqTranspose:
      sequencerTranspose_ = flag;
      break;
    case kVoices:
      sixtyFourVoices_ = flag;
      SetVoiceCount();
      break;
    case kGodMode:
      ApplyGodMode(flag);
      break;
    case kStereoChorus:
      output_.SetStereoChorus(flag);
      break;
    case kModWheelToDco:
      wheelToPitch_ = n * n;
      break;
    case kModWheelToVcf:
      wheelToCutoff_ = n * n;
      break;
    case kChorusRate:
      output_.GetChorus().SetRate(ActiveModel().chorusRate);
      break;
    case kLegacyMode:
      ApplyLegacyMode(flag);
      break;
    case kGainBoost:
      output_.SetGainBoost(flag);
      break;
    case kBrightness:
      output_.SetBrightness(flag);
      break;
    default:
      break;
  }
}

// Switching between one shared filter and a filter per voice ends every note first. The
// shared filter is not run while the voices filter themselves; it is emptied, so nothing
// it held sounds when it takes over again.
void Tarsyn7::ApplyGodMode(bool on) {
  if (on == godMode_) return;
  ReleaseAllVoices();
  globalPath_.Clear();
  godMode_ = on;
}

void Tarsyn7::ApplyLegacyMode(bool on) {
  legacy_ = on;
  mg_.SetIncrement(ActiveModel().mgPhaseIncrement);
  ApplyChorusModel();
}
