// Lane helpers against what the scalar code they replace computes.
#include <gtest/gtest.h>

#include "engine/Lanes.h"

namespace {

// Cutoff offsets are truncated towards zero, below zero too, as static_cast<int> does.
template <typename Vector>
void TruncatesAsACastDoes() {
  constexpr int kWidth = kLaneWidth<Vector>;
  const double values[] = {-2.5, -1.0, -0.75, -0.0, 0.25, 0.999, 1.5, 12288.9, -12288.9, 17279.0};
  for (double first : values) {
    double lanes[kWidth];
    for (int i = 0; i < kWidth; ++i) lanes[i] = first * (i + 1);
    int truncated[kWidth];
    StoreTruncated(truncated, LoadLanes<Vector>(lanes));
    for (int i = 0; i < kWidth; ++i)
      EXPECT_EQ(truncated[i], static_cast<int>(lanes[i])) << lanes[i];
  }
}

TEST(Lanes, OffsetsTruncateTowardsZeroOnEveryWidth) {
  TruncatesAsACastDoes<double>();
  TruncatesAsACastDoes<DoublePair>();
  TruncatesAsACastDoes<DoubleQuad>();
}

}  // namespace
