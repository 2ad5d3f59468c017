#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/engine/PlayingPlug.h"

namespace fs = std::filesystem;

namespace {

// Each test keeps its settings file in a folder of its own.
class MidiSettings : public testing::Test {
 protected:
  void SetUp() override {
    const char* before = std::getenv("XDG_DATA_HOME");
    saved_ = before ? before : "";
    folder_ = fs::path(testing::TempDir()) /
              testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder_);
    setenv("XDG_DATA_HOME", folder_.c_str(), 1);
  }
  void TearDown() override {
    setenv("XDG_DATA_HOME", saved_.c_str(), 1);
    fs::remove_all(folder_);
  }

  std::string saved_;
  fs::path folder_;
};

}  // namespace

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
