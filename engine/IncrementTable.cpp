#include "engine/IncrementTable.h"

#include <algorithm>
#include <limits>

#include "engine/PitchToFrequency.h"
#include "engine/SquareTables.h"

namespace {

constexpr double kPhaseCycle = 134217728.0;           // 2^27
constexpr double kEntriesPerIncrement = 1.0 / 65536;  // 16' reads phase >> 16

// Each footage reads twice as fast as the one below it; from the first one at or above
// Nyquist on, all are silent.
IncrementTable::FootageTables ChooseTables(int32_t increment) {
  const SquareTables& squares = SquareTables::Get();
  const double step16 = increment * kEntriesPerIncrement;
  IncrementTable::FootageTables tables{};
  for (int f = 0; f < IncrementTable::kFootageCount; ++f) {
    const double step = step16 * (1 << f);
    tables[f] = step < SquareTables::kNyquistStep ? static_cast<int8_t>(squares.IndexForStep(step))
                                                  : IncrementTable::kSilent;
  }
  return tables;
}

}  // namespace

IncrementTable::IncrementTable() : increments_(kPitchTableSize), tables_(kPitchTableSize) {
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
    tables_[i] = ChooseTables(increments_[i]);
  }
}
