#include <gtest/gtest.h>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"

namespace {

class ParameterTable : public ::testing::Test {
 protected:
  std::string Display(int index, double value) {
    plug.GetParameter(index)->Set(value);
    return plug.ParameterDisplayText(index);
  }

  Tarsyn7 plug{nullptr};
};

}  // namespace

TEST_F(ParameterTable, EightyParametersWithTheirNames) {
  ASSERT_EQ(plug.ParameterCount(), 80);
  EXPECT_EQ(plug.GetParameter(kVolume)->Name(), "Volume");
  EXPECT_EQ(plug.GetParameter(kDco1Foot16)->Name(), "DCO1 16'");
  EXPECT_EQ(plug.GetParameter(kSeqFrequency)->Name(), "Seq. Frequency");
  EXPECT_EQ(plug.GetParameter(kModWheelToDco)->Name(), "Mod.Wheel to DCO");
  EXPECT_EQ(plug.GetParameter(kBrightness)->Name(), "Brightness");
  EXPECT_EQ(plug.GetParameter(65)->Name(), "reserved");
  EXPECT_EQ(plug.GetParameter(79)->Name(), "reserved");
  for (int i = 0; i < 80; ++i) {
    const Parameter* parameter = plug.GetParameter(i);
    EXPECT_FALSE(parameter->Name().empty()) << i;
    EXPECT_EQ(parameter->Label(), "") << i;
    EXPECT_GE(parameter->Default(), parameter->Minimum()) << i;
    EXPECT_LE(parameter->Default(), parameter->Maximum()) << i;
    EXPECT_EQ(parameter->Shape(), 1.0) << i;
  }
}

TEST_F(ParameterTable, KindsFollowTheTable) {
  const int integers[] = {kBend,          kDco1Octave, kDcoMode,  kDco2Octave,    kDco2Interval,
                          kVcfEgPolarity, kVcfTrigger, kSeqClock, kSeqPlayOnNote, kSeqTranspose};
  for (int index : integers) EXPECT_EQ(plug.GetParameter(index)->GetType(), Parameter::kTypeInt);
  for (int index = 65; index < 80; ++index) {
    EXPECT_EQ(plug.GetParameter(index)->GetType(), Parameter::kTypeInt);
  }
  for (int index : {kMode, kVoices, kGodMode, kStereoChorus}) {
    EXPECT_EQ(plug.GetParameter(index)->GetType(), Parameter::kTypeEnum);
    EXPECT_EQ(plug.GetParameter(index)->Default(), 0.0);
  }
  for (int index : {kLegacyMode, kGainBoost, kBrightness}) {
    EXPECT_EQ(plug.GetParameter(index)->GetType(), Parameter::kTypeBool);
    EXPECT_EQ(plug.GetParameter(index)->Default(), 1.0);
  }
  EXPECT_EQ(plug.GetParameter(kDeg1Attack)->GetType(), Parameter::kTypeDouble);
  EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Default(), 99.0);
  EXPECT_EQ(plug.GetParameter(kChorusRate)->Default(), 0.13);
  EXPECT_EQ(plug.GetParameter(kDeg3BreakPoint)->Default(), 0.0);
}

TEST_F(ParameterTable, DisplayTexts) {
  EXPECT_EQ(Display(kVolume, 0.0), "-oo");
  EXPECT_EQ(Display(kVolume, 1.0), "0.0");
  EXPECT_EQ(Display(kVolume, 0.5), "-6.0");
  EXPECT_EQ(Display(kTune, 0.5), "25");
  EXPECT_EQ(Display(kTune, -1.0), "-50");
  EXPECT_EQ(Display(kSeqFrequency, 120.0), "120.000000");
  EXPECT_EQ(Display(kGodMode, 0.0), "Off");
  EXPECT_EQ(Display(kGodMode, 1.0), "On");
  EXPECT_EQ(Display(kLegacyMode, 0.0), "off");
  EXPECT_EQ(Display(kLegacyMode, 1.0), "on");
  EXPECT_EQ(Display(kVoices, 0.0), "4/8");
  EXPECT_EQ(Display(kMode, 1.0), "Chord");
  EXPECT_EQ(Display(kDco1Waveform, 1.5), "1.50");
  EXPECT_EQ(Display(kVelocity, 0.25), "0.250");
  EXPECT_EQ(Display(kBend, 12.0), "12");
}

TEST_F(ParameterTable, HostValuesRoundOnlyWhereTheKindSaysSo) {
  Parameter* attack = plug.GetParameter(kDeg1Attack);
  attack->SetNormalized(0.5);
  EXPECT_EQ(attack->Value(), 15.5);
  EXPECT_EQ(plug.ParameterDisplayText(kDeg1Attack), "15");

  Parameter* dcoMode = plug.GetParameter(kDcoMode);
  dcoMode->SetNormalized(0.4);
  EXPECT_EQ(dcoMode->Value(), 1.0);
  dcoMode->SetNormalized(0.6);
  EXPECT_EQ(dcoMode->Value(), 2.0);
}
