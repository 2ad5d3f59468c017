#include "control/MidiLearn.h"

#include <gtest/gtest.h>

namespace {

struct UnboundMap : ControllerMap {
  UnboundMap() { fill(-1); }
};

}  // namespace

TEST(MidiLearn, BindsInEitherOrderAndMovesABinding) {
  UnboundMap map;
  MidiLearn learn(map);
  EXPECT_FALSE(learn.CaptureParameter(23));  // not armed
  learn.Arm(true, false);
  learn.CaptureParameter(23);
  EXPECT_TRUE(learn.Armed());
  learn.CaptureController(74);
  EXPECT_FALSE(learn.Armed());
  EXPECT_EQ(learn.Target(74), 23);

  learn.Arm(true, false);
  learn.CaptureController(20);
  EXPECT_TRUE(learn.Armed());  // waits for a parameter
  learn.CaptureParameter(23);
  EXPECT_EQ(learn.Target(20), 23);
  EXPECT_EQ(learn.Target(74), -1);  // one controller per parameter
}

TEST(MidiLearn, ForgettingNeedsOneHalf) {
  UnboundMap map;
  MidiLearn learn(map);
  learn.Bind(1, 5);
  learn.Bind(2, 5);
  learn.Bind(3, 6);
  learn.Arm(true, true);
  learn.CaptureParameter(5);
  EXPECT_FALSE(learn.Armed());
  EXPECT_EQ(learn.Target(1), -1);
  EXPECT_EQ(learn.Target(2), -1);
  learn.Arm(true, true);
  learn.CaptureController(3);
  EXPECT_EQ(learn.Target(3), -1);
}

TEST(MidiLearn, OutOfRangeNumbersAreIgnored) {
  UnboundMap map;
  MidiLearn learn(map);
  learn.Arm(true, false);
  EXPECT_FALSE(learn.CaptureController(120));
  EXPECT_FALSE(learn.CaptureParameter(80));
  EXPECT_FALSE(learn.CaptureParameter(-1));
  EXPECT_TRUE(learn.Armed());
  EXPECT_EQ(learn.Target(-1), -1);
  EXPECT_EQ(learn.Target(500), -1);
}
