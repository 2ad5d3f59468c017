#include "engine/OutputStage.h"

namespace {

constexpr double kBassCutCorner = 34.0;
// Keeps the dry level of a centred source when the wet part is added.
constexpr double kChorusDryScale = 0.7071067811865476;

}  // namespace

OutputStage::OutputStage() {
  bassCut_.Setup(44100.0, kBassCutCorner);
}

void OutputStage::SetSampleRate(double rate) {
  chorus_.SetSampleRate(rate, kChorusLineSeconds);
  bassCut_.Setup(rate, kBassCutCorner);
}

void OutputStage::SetVolume(double volume) {
  volume_ = volume;
  UpdateOutputGain();
}

void OutputStage::SetGainBoost(bool on) {
  gainBoost_ = on;
  UpdateOutputGain();
}

void OutputStage::UpdateOutputGain() {
  outputGain_ = gainBoost_ ? volume_ : 0.5 * volume_;
}

void OutputStage::Process(double m, bool filterRan, double& left, double& right) {
  if (filterRan) m *= outputGain_;
  // Out of use, the bass cut forgets its history, so the next note starts clean.
  if (filterRan && brightness_) {
    m = bassCut_.Process(m);
  } else {
    bassCut_.Clear();
  }
  if (!chorusOn_) {
    left = right = m;
    return;
  }
  const double dry = m * kChorusDryScale;
  const double wet = chorus_.Process(dry);
  left = dry + wet;
  right = stereoChorus_ ? dry - wet : dry + wet;
}
