#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine/DigitalEnvelope.h"

namespace {

constexpr double kRate = 44100.0;

// Normalised value of a plain 0-31 envelope parameter.
double Plain(double value) {
  return value / 31.0;
}

// Steps until `done` holds (checked after each step); -1 when it never does within `limit`.
int StepsUntil(DigitalEnvelope& envelope, const std::function<bool()>& done, int limit) {
  for (int steps = 1; steps <= limit; ++steps) {
    envelope.EnvelopeStep();
    if (done()) return steps;
  }
  return -1;
}

int StepsUntilStage(DigitalEnvelope& envelope, EnvelopeStage stage, int limit) {
  return StepsUntil(
      envelope, [&] { return envelope.Stage() == stage; }, limit);
}

// Level change over one step (positive when rising).
double StepChange(DigitalEnvelope& envelope) {
  const double before = envelope.Level();
  envelope.EnvelopeStep();
  return envelope.Level() - before;
}

class DigitalEnvelopeTest : public ::testing::Test {
 protected:
  // Sets the mode first, so level parameters take the mode's scaling.
  void SetUpEnvelope(bool linear, double attack, double decay, double breakPoint, double slope,
                     double sustain, double release) {
    envelope.SetSampleRate(kRate);
    envelope.SetLinearMode(linear);
    envelope.SetAttack(Plain(attack));
    envelope.SetDecay(Plain(decay));
    envelope.SetBreakPoint(Plain(breakPoint));
    envelope.SetSlope(Plain(slope));
    envelope.SetSustain(Plain(sustain));
    envelope.SetRelease(Plain(release));
  }

  // Seconds the exponential speed k(t) implies for a full segment.
  static double ExponentialSeconds(double t) { return 1.0 / (std::pow(5.0, 3.3 - 7.5 * t) + 0.05); }

  DigitalEnvelope envelope;
};

TEST_F(DigitalEnvelopeTest, LinearFastestAttackReachesFullScaleOnStep178) {
  SetUpEnvelope(true, 0, 10, 16, 10, 16, 10);
  envelope.EnvelopeStart();
  for (int i = 0; i < 176; ++i) envelope.EnvelopeStep();
  EXPECT_LT(envelope.Level(), 1.0);
  envelope.EnvelopeStep();  // 177: passes 1
  EXPECT_GT(envelope.Level(), 1.0);
  EXPECT_EQ(envelope.Stage(), EnvelopeStage::Attack);
  envelope.EnvelopeStep();  // 178: clamps and turns to the decay
  EXPECT_EQ(envelope.Level(), 1.0);
  EXPECT_EQ(envelope.Stage(), EnvelopeStage::Decay);
}

TEST_F(DigitalEnvelopeTest, LinearTimesFollowTheTableAndInterpolateBetweenSteps) {
  struct Case {
    double plain;
    double seconds;
  };
  for (const Case& c :
       {Case{0, 0.004}, Case{15, 0.112}, Case{15.5, 0.118}, Case{16, 0.124}, Case{31, 13.4}}) {
    SetUpEnvelope(true, c.plain, 0, 0, 0, 0, 0);
    envelope.EnvelopeStart();
    // The ramp passes 1 after ceil(seconds * rate) steps; one more step enters the decay.
    const int steps = StepsUntilStage(envelope, EnvelopeStage::Decay, 1000000);
    EXPECT_NEAR(steps - 1, c.seconds * kRate, 1.0) << "attack " << c.plain;
  }
}

TEST_F(DigitalEnvelopeTest, LinearSustainAndBreakPointStopShortOfFullScale) {
  SetUpEnvelope(true, 0, 0, 31, 0, 31, 0);
  envelope.EnvelopeStart();
  StepsUntilStage(envelope, EnvelopeStage::Slope, 1000);
  for (int i = 0; i < 1000; ++i) envelope.EnvelopeStep();
  EXPECT_DOUBLE_EQ(envelope.Level(), 0.99);
  EXPECT_EQ(envelope.Stage(), EnvelopeStage::Slope);
}

TEST_F(DigitalEnvelopeTest, LevelsKeepTheScalingOfTheModeTheyWereSetIn) {
  SetUpEnvelope(false, 0, 0, 20, 0, 31, 0);  // sustain stored as 1
  envelope.SetLinearMode(true);
  envelope.EnvelopeStart();
  StepsUntilStage(envelope, EnvelopeStage::Slope, 1000);
  for (int i = 0; i < 2000; ++i) envelope.EnvelopeStep();
  EXPECT_GE(envelope.Level(), 1.0);  // climbs to the unscaled 1, not to 0.99
}

TEST_F(DigitalEnvelopeTest, LinearSlopeMovesTowardsSustainThenHolds) {
  const double increment = 1.0 / (kRate * 0.004);
  for (const double sustain : {8.0, 24.0}) {  // below and above the break point
    SetUpEnvelope(true, 0, 0, 16, 0, sustain, 0);
    envelope.EnvelopeStart();
    StepsUntilStage(envelope, EnvelopeStage::Slope, 1000);
    EXPECT_DOUBLE_EQ(envelope.Level(), Plain(16) * 0.99);
    for (int i = 0; i < 1000; ++i) envelope.EnvelopeStep();
    const double held = envelope.Level();
    EXPECT_NEAR(held, Plain(sustain) * 0.99, increment);
    for (int i = 0; i < 100; ++i) envelope.EnvelopeStep();
    EXPECT_EQ(envelope.Level(), held);
  }
}

TEST_F(DigitalEnvelopeTest, ChangingDecayActsOnARunningDecayAtOnce) {
  SetUpEnvelope(true, 0, 31, 0, 0, 0, 0);
  envelope.EnvelopeStart();
  StepsUntilStage(envelope, EnvelopeStage::Decay, 1000);
  envelope.EnvelopeStep();
  EXPECT_NEAR(StepChange(envelope), -1.0 / (kRate * 13.4), 1e-12);
  envelope.SetDecay(0.0);
  EXPECT_NEAR(StepChange(envelope), -1.0 / (kRate * 0.004), 1e-12);

  SetUpEnvelope(false, 0, 31, 0, 0, 0, 0);
  envelope.EnvelopeStart();
  StepsUntilStage(envelope, EnvelopeStage::Decay, 1000);
  const double slow = StepChange(envelope);
  envelope.SetDecay(0.0);
  EXPECT_LT(StepChange(envelope), 100.0 * slow);
}

TEST_F(DigitalEnvelopeTest, ChangingDecayDuringAttackOnlyShapesTheNextDecay) {
  SetUpEnvelope(true, 10, 0, 0, 0, 0, 0);
  envelope.EnvelopeStart();
  envelope.EnvelopeStep();
  const double attackStep = StepChange(envelope);
  envelope.SetDecay(1.0);
  EXPECT_NEAR(StepChange(envelope), attackStep, 1e-15);
  StepsUntilStage(envelope, EnvelopeStage::Decay, 100000);
  envelope.EnvelopeStep();
  EXPECT_NEAR(StepChange(envelope), -1.0 / (kRate * 13.4), 1e-12);
}

TEST_F(DigitalEnvelopeTest, ChangingAttackAndReleaseActOnTheirRunningStage) {
  SetUpEnvelope(true, 31, 0, 0, 0, 0, 31);
  envelope.EnvelopeStart();
  envelope.EnvelopeStep();
  envelope.SetAttack(0.0);
  EXPECT_NEAR(StepChange(envelope), 1.0 / (kRate * 0.004), 1e-12);
  envelope.EnvelopeStep();
  envelope.EnvelopeRelease();
  envelope.EnvelopeStep();
  EXPECT_NEAR(StepChange(envelope), -1.0 / (kRate * 13.4), 1e-12);
  envelope.SetRelease(0.0);
  EXPECT_NEAR(StepChange(envelope), -1.0 / (kRate * 0.004), 1e-12);
}

TEST_F(DigitalEnvelopeTest, ReleaseAtZeroGoesIdleAtOnce) {
  for (const bool linear : {true, false}) {
    SetUpEnvelope(linear, 0, 0, 0, 0, 0, 31);
    envelope.EnvelopeStart();
    envelope.EnvelopeRelease();  // still at level 0
    EXPECT_TRUE(envelope.IsIdle());
    EXPECT_EQ(envelope.Level(), 0.0);
  }
}

TEST_F(DigitalEnvelopeTest, ReleaseFallsToZeroAndStops) {
  for (const bool linear : {true, false}) {
    SetUpEnvelope(linear, 0, 0, 31, 0, 31, 5);
    envelope.EnvelopeStart();
    StepsUntilStage(envelope, EnvelopeStage::Slope, 100000);
    envelope.EnvelopeRelease();
    EXPECT_EQ(envelope.Stage(), EnvelopeStage::Release);
    const int steps = StepsUntil(
        envelope, [&] { return envelope.IsIdle(); }, 1000000);
    EXPECT_GT(steps, 0);
    EXPECT_EQ(envelope.Level(), 0.0);
    envelope.EnvelopeStep();
    EXPECT_EQ(envelope.Level(), 0.0);
  }
}

TEST_F(DigitalEnvelopeTest, StartContinuesFromTheCurrentLevel) {
  for (const bool linear : {true, false}) {
    SetUpEnvelope(linear, 20, 0, 31, 0, 31, 20);
    envelope.EnvelopeStart();
    StepsUntilStage(envelope, EnvelopeStage::Slope, 1000000);
    envelope.EnvelopeRelease();
    for (int i = 0; i < 2000; ++i) envelope.EnvelopeStep();
    const double released = envelope.Level();
    ASSERT_GT(released, 0.1);
    envelope.EnvelopeStart();
    EXPECT_EQ(envelope.Stage(), EnvelopeStage::Attack);
    EXPECT_GT(StepChange(envelope), 0.0);
    EXPECT_NEAR(envelope.Level(), released, 0.01);
  }
}

TEST_F(DigitalEnvelopeTest, ExponentialSegmentsTakeTheirCalibratedTimes) {
  for (const double plain : {3.0, 15.5, 31.0}) {
    const double seconds = ExponentialSeconds(Plain(plain));
    SetUpEnvelope(false, plain, 0, 0, 0, 0, plain);
    envelope.EnvelopeStart();
    const int attack = StepsUntilStage(envelope, EnvelopeStage::Decay, 2000000);
    EXPECT_NEAR(attack / kRate, seconds, seconds * 0.01) << "attack " << plain;

    // From full scale the release also ends after the segment time.
    envelope.EnvelopeRelease();
    const int release = StepsUntil(
        envelope, [&] { return envelope.IsIdle(); }, 2000000);
    EXPECT_NEAR(release / kRate, seconds, seconds * 0.01) << "release " << plain;
  }
}

TEST_F(DigitalEnvelopeTest, ExponentialZeroAttackUsesItsOwnCalibration) {
  SetUpEnvelope(false, 0, 0, 0, 0, 0, 0);
  envelope.EnvelopeStart();
  const int steps = StepsUntilStage(envelope, EnvelopeStage::Decay, 100000);
  const double seconds = 1.0 / std::pow(10.0, 2.3);      // about 5 ms
  EXPECT_NEAR(steps / kRate, seconds, seconds * 0.008);  // the general curve is 1.5% faster
}

TEST_F(DigitalEnvelopeTest, ExponentialDecayLandsOnTheBreakPointThenSettlesOnSustain) {
  SetUpEnvelope(false, 0, 10, 20, 5, 8, 0);
  envelope.EnvelopeStart();
  StepsUntilStage(envelope, EnvelopeStage::Decay, 100000);
  // Falling from 1 towards break point - 1/9 covers 1 - b of 1 - b + 1/9.
  const double b = Plain(20);
  const double decaySeconds = ExponentialSeconds(Plain(10)) * std::log10((1 - b + 1.0 / 9) * 9);
  const int decay = StepsUntilStage(envelope, EnvelopeStage::Slope, 1000000);
  EXPECT_NEAR(decay / kRate, decaySeconds, decaySeconds * 0.01);
  EXPECT_EQ(envelope.Level(), b);
  for (int i = 0; i < 200000; ++i) envelope.EnvelopeStep();
  EXPECT_NEAR(envelope.Level(), Plain(8), 1e-6);
  EXPECT_EQ(envelope.Stage(), EnvelopeStage::Slope);
}

TEST_F(DigitalEnvelopeTest, ExponentialFullBreakPointEndsTheDecayOnItsFirstStep) {
  SetUpEnvelope(false, 0, 31, 31, 31, 31, 0);
  envelope.EnvelopeStart();
  StepsUntilStage(envelope, EnvelopeStage::Decay, 100000);
  envelope.EnvelopeStep();
  EXPECT_EQ(envelope.Stage(), EnvelopeStage::Slope);
  EXPECT_EQ(envelope.Level(), 1.0);
}

TEST_F(DigitalEnvelopeTest, LevelChangesRedirectTheRunningStage) {
  SetUpEnvelope(false, 0, 5, 10, 5, 10, 0);
  envelope.EnvelopeStart();
  StepsUntilStage(envelope, EnvelopeStage::Decay, 100000);
  envelope.SetBreakPoint(Plain(25));
  StepsUntilStage(envelope, EnvelopeStage::Slope, 1000000);
  EXPECT_EQ(envelope.Level(), Plain(25));
  envelope.SetSustain(Plain(20));
  for (int i = 0; i < 200000; ++i) envelope.EnvelopeStep();
  EXPECT_NEAR(envelope.Level(), Plain(20), 1e-6);
}

TEST_F(DigitalEnvelopeTest, ExponentialSlopeToZeroEndsWithoutSubnormalLevels) {
  SetUpEnvelope(false, 0, 0, 16, 0, 0, 0);
  envelope.EnvelopeStart();
  bool subnormal = false;
  const int steps = StepsUntil(
      envelope,
      [&] {
        subnormal = subnormal || std::fpclassify(envelope.Level()) == FP_SUBNORMAL;
        return envelope.IsIdle();
      },
      10000000);
  EXPECT_GT(steps, 0);
  EXPECT_FALSE(subnormal);
  EXPECT_EQ(envelope.Level(), 0.0);
}

TEST_F(DigitalEnvelopeTest, SwitchingModeMidDecayCarriesOnFromTheLevel) {
  for (const bool startLinear : {true, false}) {
    SetUpEnvelope(startLinear, 0, 25, 8, 0, 8, 0);
    envelope.EnvelopeStart();
    StepsUntilStage(envelope, EnvelopeStage::Decay, 100000);
    for (int i = 0; i < 20000; ++i) envelope.EnvelopeStep();
    const double before = envelope.Level();
    envelope.SetLinearMode(!startLinear);
    const double change = StepChange(envelope);
    EXPECT_LT(change, 0.0) << "still falling";
    EXPECT_GT(change, -1e-3) << "no jump";
    EXPECT_NEAR(envelope.Level(), before, 1e-3);
    // ... and ends on the break point (scaled for linear mode as it was set).
    StepsUntilStage(envelope, EnvelopeStage::Slope, 1000000);
    EXPECT_DOUBLE_EQ(envelope.Level(), Plain(8) * (startLinear ? 0.99 : 1.0));
  }
}

TEST_F(DigitalEnvelopeTest, SwitchingToLinearMidDecayUsesTheDecayTime) {
  SetUpEnvelope(false, 0, 31, 0, 0, 0, 0);
  envelope.EnvelopeStart();
  StepsUntilStage(envelope, EnvelopeStage::Decay, 100000);
  envelope.SetLinearMode(true);
  envelope.EnvelopeStep();
  EXPECT_NEAR(StepChange(envelope), -1.0 / (kRate * 13.4), 1e-12);
}

TEST_F(DigitalEnvelopeTest, SwitchingToExponentialMidSlopeSettlesOnSustain) {
  SetUpEnvelope(true, 0, 0, 31, 10, 10, 0);
  envelope.EnvelopeStart();
  StepsUntilStage(envelope, EnvelopeStage::Slope, 100000);
  for (int i = 0; i < 1000; ++i) envelope.EnvelopeStep();
  envelope.SetLinearMode(false);
  for (int i = 0; i < 200000; ++i) envelope.EnvelopeStep();
  EXPECT_NEAR(envelope.Level(), Plain(10) * 0.99, 1e-6);
}

TEST_F(DigitalEnvelopeTest, SampleRateSetUpSilencesAndRescalesTime) {
  SetUpEnvelope(true, 0, 0, 31, 0, 31, 0);
  envelope.EnvelopeStart();
  for (int i = 0; i < 100; ++i) envelope.EnvelopeStep();
  envelope.SetSampleRate(22050.0);
  EXPECT_TRUE(envelope.IsIdle());
  EXPECT_EQ(envelope.Level(), 0.0);
  envelope.EnvelopeStart();
  EXPECT_EQ(StepsUntilStage(envelope, EnvelopeStage::Decay, 1000), 90);  // 89 steps pass 1

  envelope.EnvelopeStep();
  const double level = envelope.Level();
  envelope.SetSampleRate(0.0);  // ignored
  EXPECT_EQ(envelope.Level(), level);
  EXPECT_EQ(envelope.Stage(), EnvelopeStage::Decay);
}

TEST_F(DigitalEnvelopeTest, RunsAtAThousandHertzBeforeSetUp) {
  DigitalEnvelope fresh;
  fresh.SetAttack(0.5);
  fresh.EnvelopeStart();
  const double seconds = StepsUntilStage(fresh, EnvelopeStage::Decay, 100000) / 1000.0;
  EXPECT_NEAR(seconds, ExponentialSeconds(0.5), ExponentialSeconds(0.5) * 0.01);
}

}  // namespace
