#include "engine/PitchToFrequency.h"

#include <array>
#include <cmath>

namespace {

constexpr int kNotes = 136;  // notes 0..135

// Equal-tempered note frequencies (A4 = 440 Hz) rounded to three decimals.
const std::array<double, kNotes>& NoteFrequencies() {
  static const std::array<double, kNotes> table = [] {
    std::array<double, kNotes> f{};
    for (int n = 0; n < kNotes; ++n) {
      f[n] = std::round(440.0 * std::pow(2.0, (n - 69) / 12.0) * 1000.0) / 1000.0;
    }
    return f;
  }();
  return table;
}

// Descending table for negative indices: 8.176 Hz divided down a semitone per step.
const std::array<double, kNotes>& SubNoteFrequencies() {
  static const std::array<double, kNotes> table = [] {
    std::array<double, kNotes> g{};
    for (int n = 0; n < kNotes; ++n) g[n] = 8.176 * std::pow(2.0, -n / 12.0);
    return g;
  }();
  return table;
}

double Interpolate(const std::array<double, kNotes>& table, double magnitude) {
  const int semitone = static_cast<int>(magnitude) / kStepsPerSemitone;
  const double rest = magnitude - semitone * kStepsPerSemitone;
  return table[semitone] + (table[semitone + 1] - table[semitone]) * rest / kStepsPerSemitone;
}

}  // namespace

double PitchToFrequency(double index) {
  if (index >= kPitchIndexMax) return NoteFrequencies()[kNotes - 1];
  if (index <= -kPitchIndexMax) return SubNoteFrequencies()[kNotes - 1];
  if (index >= 0) return Interpolate(NoteFrequencies(), index);
  return Interpolate(SubNoteFrequencies(), -index);
}
