#include "engine/NoiseGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr double kStateScale = 1.0 / 2147483648.0;

TEST(NoiseGeneratorSequence, StartsFromStateOneTimes16807) {
  NoiseGenerator noise;
  // Successive 32-bit states, wrapping from the fourth on.
  for (double state : {16807.0, 282475249.0, 1622647863.0, -1199696159.0, 1578110407.0}) {
    EXPECT_DOUBLE_EQ(noise.Next(), state * kStateScale);
  }
}

TEST(NoiseGeneratorSequence, StaysInRangeAndCentred) {
  NoiseGenerator noise;
  constexpr int kDraws = 1 << 20;
  double sum = 0.0;
  double lowest = 0.0;
  double highest = 0.0;
  for (int i = 0; i < kDraws; ++i) {
    const double x = noise.Next();
    ASSERT_GE(x, -1.0);
    ASSERT_LT(x, 1.0);
    sum += x;
    lowest = std::min(lowest, x);
    highest = std::max(highest, x);
  }
  EXPECT_NEAR(sum / kDraws, 0.0, 0.01);
  EXPECT_LT(lowest, -0.999);
  EXPECT_GT(highest, 0.999);
}

}  // namespace
