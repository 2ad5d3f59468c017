#include "engine/CutoffTable.h"

#include "engine/PitchToFrequency.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kLegacyFloorHz = 62.0;

}  // namespace

CutoffTable::CutoffTable() : steps_(kPitchTableSize), coefficients_(kPitchTableSize) {
  Fill();
}

void CutoffTable::SetSampleRate(double sampleRate) {
  if (sampleRate <= 0.0 || sampleRate == sampleRate_) return;
  sampleRate_ = sampleRate;
  Fill();
}

void CutoffTable::Fill() {
  index62Hz_ = 0;
  for (int i = 0; i < kPitchTableSize; ++i) {
    const double frequency = PitchToFrequency(i);
    if (frequency < kLegacyFloorHz) index62Hz_ = i;
    const double c = kTwoPi * frequency / sampleRate_;
    steps_[i] = c;
    const double norm = 1.0 / (c + 2.0);
    const double g = c * norm;
    coefficients_[i] = {g, (c - 2.0) * norm, g * g * g * g};
  }
}
