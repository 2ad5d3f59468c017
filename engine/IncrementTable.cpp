#include "engine/IncrementTable.h"

#include <algorithm>
#include <limits>

#include "engine/PitchToFrequency.h"

namespace {

constexpr double kPhaseCycle = 134217728.0;  // 2^27

}  // namespace

IncrementTable::IncrementTable() : increments_(kPitchTableSize) {
  Fill();
}

void IncrementTable::SetSampleRate(double sampleRate) {
  if (sampleRate <= 0.0 || sampleRate == sampleRate_) return;
  sampleRate_ = sampleRate;
  Fill();
}

int32_t IncrementTable::At(int index) const {
  return increments_[std::clamp(index, 0, kPitchIndexMax)];
}

void IncrementTable::Fill() {
  // Very low rates would overflow the top entries; they cannot sound anyway.
  const double largest = std::numeric_limits<int32_t>::max();
  for (int i = 0; i < kPitchTableSize; ++i) {
    const double increment = PitchToFrequency(i) * kPhaseCycle / sampleRate_;
    increments_[i] = static_cast<int32_t>(std::min(increment, largest));
  }
}
