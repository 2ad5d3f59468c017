#pragma once

#include <array>

// Band-limited square waves, one table per half-octave of reading speed: the
// faster a table is read, the fewer odd harmonics it holds. They do not depend
// on the sample rate, so one set serves the whole process.
class SquareTables {
 public:
  static constexpr int kCount = 20;
  static constexpr int kLength = 2048;                 // entries per cycle
  static constexpr double kNyquistStep = kLength / 2;  // entries per sample at Nyquist

  // The process-wide set, built on first use; safe to call from any thread.
  static const SquareTables& Get();

  const double* Table(int j) const { return tables_[j].data(); }

  // Highest odd harmonic held by table j.
  int HighestHarmonic(int j) const { return highestHarmonic_[j]; }

  // The table to read at `step` entries per sample (below kNyquistStep): the
  // one of its half-octave, or a poorer one where that one's top partial would
  // reach Nyquist.
  int IndexForStep(double step) const;

 private:
  SquareTables();
  void Build(int j, const std::array<double, kLength>& sine);

  std::array<std::array<double, kLength>, kCount> tables_{};
  std::array<int, kCount> highestHarmonic_{};
};
