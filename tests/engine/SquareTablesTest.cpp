#include "engine/SquareTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/engine/SignalAnalysis.h"

namespace {

// Amplitude of every harmonic of one table cycle (index = harmonic number).
std::vector<double> Harmonics(int j) {
  const double* table = SquareTables::Get().Table(j);
  const std::vector<double> cycle(table, table + SquareTables::kLength);
  std::vector<double> amplitude;
  for (double power : signal_analysis::PowerSpectrum(cycle, false)) {
    amplitude.push_back(2.0 * std::sqrt(power) / SquareTables::kLength);
  }
  return amplitude;
}

int HighestPresent(const std::vector<double>& amplitude) {
  int highest = 0;
  for (std::size_t h = 1; h < amplitude.size(); ++h) {
    if (amplitude[h] > 1e-9) highest = static_cast<int>(h);
  }
  return highest;
}

TEST(SquareTablesContent, OddHarmonicsHalvingEveryOctaveDownToASine) {
  const SquareTables& squares = SquareTables::Get();
  const int expectedHighest[] = {1023, 723, 511, 361, 255, 181, 127, 91, 63, 45,
                                 31,   23,  15,  11,  7,   5,   3,   3,  1,  1};
  for (int j = 0; j < SquareTables::kCount; ++j) {
    const std::vector<double> amplitude = Harmonics(j);
    EXPECT_NEAR(amplitude[1], 0.5, 1e-12) << "table " << j;
    EXPECT_EQ(HighestPresent(amplitude), expectedHighest[j]) << "table " << j;
    EXPECT_EQ(squares.HighestHarmonic(j), expectedHighest[j]) << "table " << j;
    for (std::size_t h = 0; h < amplitude.size(); h += 2) {
      EXPECT_LT(amplitude[h], 1e-9) << "table " << j << " harmonic " << h;
    }
  }
}

TEST(SquareTablesContent, PartialsFallLikeASquareTaperedAtTheTop) {
  const std::vector<double> amplitude = Harmonics(0);
  EXPECT_NEAR(amplitude[3], 0.5 / 3, 1e-3);
  EXPECT_NEAR(amplitude[1023], 0.54 * 0.5 / 1023, 1e-6);  // taper near its floor
  for (std::size_t h = 3; h <= 1023; h += 2) EXPECT_LT(amplitude[h], amplitude[h - 2]);
}

TEST(SquareTablesChoice, SlowerStepsGetRicherTablesButNeverReachNyquist) {
  const SquareTables& squares = SquareTables::Get();
  EXPECT_EQ(squares.IndexForStep(0.0), 0);
  EXPECT_EQ(squares.IndexForStep(1.0), 0);
  EXPECT_EQ(squares.IndexForStep(1023.9), 19);
  int previous = 0;
  for (double step = 0.01; step < SquareTables::kNyquistStep; step *= 1.0007) {
    const int j = squares.IndexForStep(step);
    ASSERT_GE(j, previous) << "step " << step;
    ASSERT_LT(step * squares.HighestHarmonic(j), SquareTables::kNyquistStep) << "step " << step;
    previous = j;
  }
}

}  // namespace
