#include "tests/SettingsHome.h"
#include "tests/engine/PlayingPlug.h"

using MidiSettings = SettingsHome;

TEST_F(MidiSettings, ALearnedBindingAndTheSwitchesReachTheNextInstance) {
  {
    PlayingPlug p;
    p.plug.ArmLearn(true, false);
    p.Send(0, 0xB0, 0x80 | 74, 0xFF);  // data bytes with the top bit set: controller 74
    p.Set(kVcfCutoff, 40);
    EXPECT_EQ(p.plug.ControllerOfParameter(kVcfCutoff), 74);
    EXPECT_TRUE(p.plug.FlipSwitch(Configuration::kMidiThru));
    EXPECT_FALSE(p.plug.FlipSwitch(Configuration::kMidiThru));
    EXPECT_TRUE(p.plug.FlipSwitch(Configuration::kIgnoreProgramChange));
  }  // the binding is written at the latest when the instance goes
  PlayingPlug next;
  EXPECT_EQ(next.plug.ControllerOfParameter(kVcfCutoff), 74);
  EXPECT_FALSE(next.plug.Settings().MidiThru());
  EXPECT_TRUE(next.plug.Settings().IgnoreProgramChange());
  next.Send(0, 0xB0, 74, 127);
  next.Render(64);
  EXPECT_EQ(next.plug.GetParameter(kVcfCutoff)->Normalized(), 1.0);
}

TEST_F(MidiSettings, PedalAndWheelsActWhileLearnWaitsAndReapplyingIsNoLearn) {
  PlayingPlug p;
  p.plug.ArmLearn(true, false);
  p.Send(0, 0xB0, 64, 127);
  p.Send(-20, 0x90, 60, 100);  // an offset before the block counts as 0
  p.Render(64);
  EXPECT_TRUE(p.plug.SustainPedalDown());
  EXPECT_TRUE(p.plug.Held().Contains(60));
  p.Send(0, 0xB0, 64, 0);
  p.Render(64);
  EXPECT_FALSE(p.plug.SustainPedalDown());  // the pedal-up was not swallowed
  p.plug.LoadProgram(0);                    // reads the state back: every parameter again
  p.Send(0, 0xB0, 20, 1);
  EXPECT_TRUE(p.plug.Learn().Armed());  // still waiting for a parameter
  EXPECT_EQ(p.plug.Learn().Target(20), -1);
}
