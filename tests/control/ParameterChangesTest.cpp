#include <gtest/gtest.h>

#include <algorithm>

#include "control/ModelCalibration.h"
#include "control/ParameterIndex.h"
#include "tests/engine/PlayingPlug.h"

TEST(ParameterChanges, GainBoostHalvesOrRestoresTheOutputGain) {
  PlayingPlug p;
  p.Set(kVolume, 1.0);
  p.Set(kGainBoost, 0);
  p.NoteOn(60);
  const std::vector<double> quiet = p.Render(2000);
  PlayingPlug loud;
  loud.Set(kVolume, 1.0);
  loud.NoteOn(60);
  const std::vector<double> full = loud.Render(2000);
  double loudest = 0.0;
  for (size_t s = 0; s < full.size(); ++s) {
    ASSERT_NEAR(quiet[s] * 2.0, full[s], 1e-9);  // only the anti-denormal offset differs
    loudest = std::max(loudest, full[s]);
  }
  EXPECT_GT(loudest, 0.1);
}

TEST(ParameterChanges, GodModeToTheSameValueKeepsTheNotes) {
  PlayingPlug p;
  p.NoteOn(60);
  p.Render(10);
  p.Set(kGodMode, 0);
  EXPECT_FALSE(p.plug.Held().Empty());
  p.Set(kGodMode, 1);
  EXPECT_TRUE(p.plug.Held().Empty());
  EXPECT_FALSE(p.VoiceAt(0).Gate());
}

TEST(ParameterChanges, ModelRecordsFollowTheMgAndChorusParameters) {
  ModelRecord legacy;
  ModelRecord current;
  CalibrateModels(kMgFrequency, 7.6, 7.6 / 15.0, legacy, current);
  EXPECT_DOUBLE_EQ(legacy.mgPhaseIncrement, 5.9524 * 2.0 / 1000.0);
  CalibrateModels(kMgDelay, 0.0, 0.0, legacy, current);
  EXPECT_EQ(legacy.mgDelayIncrement, 1.0);
  EXPECT_EQ(current.mgDelayIncrement, 1.0);
  CalibrateModels(kMgDelay, 15.0, 1.0, legacy, current);
  EXPECT_DOUBLE_EQ(legacy.mgDelayIncrement, 1.0 / 1364.0);
  CalibrateModels(kMgDco, 7.5, 0.5, legacy, current);
  EXPECT_EQ(legacy.mgDcoAmount, 0.5);
  EXPECT_EQ(current.mgDcoAmount, 0.0625);
  CalibrateModels(kChorusRate, 1.0, 1.0, legacy, current);
  EXPECT_NEAR(current.chorusRate * 1000.0 / 2.0, 24.995, 1e-9);  // Hz at 1000 ticks a second
  EXPECT_GT(legacy.chorusRate, current.chorusRate * 2.5);
  CalibrateModels(kChorus, 1.0, 1.0, legacy, current);
  EXPECT_EQ(legacy.chorusDepth, 0.3);
  EXPECT_EQ(current.chorusDepth, 0.75);
}

TEST(ParameterChanges, ReservedParametersChangeNothingAudible) {
  PlayingPlug a;
  PlayingPlug b;
  for (int index = kFirstReserved; index < kParameterCount; ++index) b.Set(index, 1.0);
  a.NoteOn(60);
  b.NoteOn(60);
  EXPECT_EQ(a.Render(3000), b.Render(3000));
}

TEST(ParameterChanges, LegacyModeSwitchesTheActiveCalibration) {
  PlayingPlug p;
  EXPECT_EQ(&p.plug.ActiveModel(), &p.plug.LegacyModel());
  p.Set(kLegacyMode, 0);
  EXPECT_EQ(&p.plug.ActiveModel(), &p.plug.CurrentModel());
  EXPECT_FALSE(p.plug.FilterPath().Deg3().LinearMode());
  p.Set(kLegacyMode, 1);
  EXPECT_TRUE(p.plug.FilterPath().Deg3().LinearMode());
}
