#include "engine/Filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kPi = 3.141592653589793;

// Steady-state gain in dB of a sine at `frequency` through `filter`: settles for
// half a second, then projects the output onto the input's sine and cosine.
double GainDb(Filter& filter, double rate, double frequency) {
  const double step = 2.0 * kPi * frequency / rate;
  const int settle = static_cast<int>(rate / 2);
  const int window = static_cast<int>(std::floor(rate / 2 / (rate / frequency)) * rate / frequency);
  double sinSum = 0.0;
  double cosSum = 0.0;
  for (int n = 0; n < settle + window; ++n) {
    const double y = filter.Process(std::sin(step * n));
    if (n < settle) continue;
    sinSum += y * std::sin(step * n);
    cosSum += y * std::cos(step * n);
  }
  const double amplitude = 2.0 * std::hypot(sinSum, cosSum) / window;
  return 20.0 * std::log10(amplitude);
}

class FilterCorner : public ::testing::TestWithParam<double> {};

TEST_P(FilterCorner, LowPassHalvesPowerAtCornerAndCutsAbove) {
  const double rate = GetParam();
  LowPass filter;
  filter.Setup(rate, 1000.0);
  EXPECT_NEAR(GainDb(filter, rate, 1000.0), -3.01, 0.05);
  EXPECT_NEAR(GainDb(filter, rate, 100.0), 0.0, 0.05);
  EXPECT_LT(GainDb(filter, rate, 10000.0), -38.0);

  filter.Setup(rate, 7000.0);
  EXPECT_NEAR(GainDb(filter, rate, 7000.0), -3.01, 0.05);
}

TEST_P(FilterCorner, HighPassHalvesPowerAtCornerAndCutsBelow) {
  const double rate = GetParam();
  HighPass filter;
  filter.Setup(rate, 1000.0);
  EXPECT_NEAR(GainDb(filter, rate, 1000.0), -3.01, 0.05);
  EXPECT_NEAR(GainDb(filter, rate, 10000.0), 0.0, 0.1);
  EXPECT_LT(GainDb(filter, rate, 100.0), -38.0);

  filter.Setup(rate, 34.0);
  EXPECT_NEAR(GainDb(filter, rate, 34.0), -3.01, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Rates, FilterCorner, ::testing::Values(44100.0, 96000.0));

TEST(FilterGuards, NanOrInfiniteInputCountsAsSilence) {
  HighPass filter;
  filter.Setup(44100.0, 34.0);
  for (int n = 0; n < 100; ++n) filter.Process(1.0);
  for (double poison :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity()}) {
    EXPECT_TRUE(std::isfinite(filter.Process(poison))) << poison;
    EXPECT_TRUE(std::isfinite(filter.Process(1.0))) << poison;
  }
  EXPECT_NEAR(GainDb(filter, 44100.0, 1000.0), 0.0, 0.05);
}

TEST(FilterGuards, SetupClearsHistory) {
  LowPass filter;
  filter.Setup(44100.0, 40.0);
  for (int n = 0; n < 1000; ++n) filter.Process(1.0);
  filter.Setup(44100.0, 40.0);
  EXPECT_LT(std::fabs(filter.Process(0.0)), 1e-12);
}

TEST(FilterGuards, NoSampleRateLeavesSilence) {
  LowPass filter;
  filter.Setup(0.0, 1000.0);
  double y = 0.0;
  for (int n = 0; n < 100; ++n) y = filter.Process(1.0);
  EXPECT_TRUE(std::isfinite(y));
  EXPECT_LT(std::fabs(y), 1e-9);
}

}  // namespace
