#include "engine/GlobalFilterPath.h"

#include "control/ParameterIndex.h"
#include "engine/Voice.h"

void GlobalFilterPath::SetSampleRate(CutoffTable& table, double rate) {
  section_.SetSampleRate(&table, rate);
  keyTrackOffset_ = 0.0;
}

void GlobalFilterPath::SetParameter(int index, double n) {
  switch (index) {
    case kVcfTrigger:
      multipleTrigger_ = n >= 0.5;
      break;
    case kVelocity:
      velocityAmount_ = n;
      break;
    case kLegacyMode:
      section_.SetLegacy(n >= 0.5);
      break;
    default:
      section_.SetParameter(index, n, false);
      break;
  }
}

void GlobalFilterPath::NoteStarted(int key, int velocity, int keysHeld) {
  const bool legacy = section_.Legacy();
  const double tracking = Vcf::KeyTrackOffset(key, section_.KeyTrackAmount(), legacy);
  if (!legacy || keysHeld <= 1 || tracking > keyTrackOffset_) keyTrackOffset_ = tracking;
  velocityGain_ = Voice::GainForVelocity(velocity, velocityAmount_);
  if (multipleTrigger_ || keysHeld <= 1) section_.StartEnvelope();
}

double GlobalFilterPath::Process(double sum, double vcfModulation, NoiseGenerator& noise) {
  return section_.Process(sum, velocityGain_, vcfModulation + keyTrackOffset_, noise);
}
