#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"

namespace {

class Tarsyn7Lifecycle : public ::testing::Test {
 protected:
  void ResetAt(double rate) {
    plug.ChangeSampleRate(rate);
    plug.ResetProcessing();
  }

  void SetPlain(int index, double value) {
    const Parameter* parameter = plug.GetParameter(index);
    plug.SetParameterFromEditor(index, parameter->ToNormalized(value));
  }

  Tarsyn7 plug{nullptr};
};

}  // namespace

TEST_F(Tarsyn7Lifecycle, ConstructionGivesTheIdentityAndModels) {
  EXPECT_EQ(plug.Identity().effectName, "Tarsyn7");
  EXPECT_EQ(plug.Identity().vendorString, "Corvane Music");
  EXPECT_EQ(plug.Identity().uniqueId, 0x74737937);  // "tsy7"
  EXPECT_EQ(plug.ManufacturerId(), 0x4372566E);     // "CrVn"
  EXPECT_EQ(plug.PresetCount(), 64);
  EXPECT_EQ(plug.OutputPin(0).label, "Tarsyn7 Left ");
  EXPECT_EQ(plug.OutputPin(1).label, "Tarsyn7 Right ");
  EXPECT_EQ(plug.LegacyModel().mgCutoffDepth, 13963.25);
  EXPECT_EQ(plug.CurrentModel().mgCutoffDepth, 12289.0);
  EXPECT_EQ(plug.LegacyModel().chorusBase, 0.36);
  EXPECT_DOUBLE_EQ(plug.CurrentModel().chorusRate, 0.0169);
  EXPECT_EQ(&plug.ActiveModel(), &plug.LegacyModel());
  EXPECT_EQ(plug.LastSampleRate(), -1.0);
  EXPECT_NE(plug.GetEditor(), nullptr);
  EXPECT_EQ(plug.Editor(), plug.GetEditor());
}

TEST(Tarsyn7Configuration, FileIsCreatedInTheVendorFolder) {
  const std::filesystem::path data = std::filesystem::temp_directory_path() / "tarsyn7-data-test";
  std::filesystem::remove_all(data);
  std::filesystem::create_directories(data);
  const char* previous = std::getenv("XDG_DATA_HOME");
  const std::string kept = previous ? previous : "";
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  {
    Tarsyn7 plug(nullptr);
    const std::filesystem::path file = plug.ConfigurationFile();
    EXPECT_EQ(file, data / "CorvaneMusic" / "tarsyn7.ini");
    EXPECT_TRUE(std::filesystem::exists(file));
  }
  if (previous) {
    setenv("XDG_DATA_HOME", kept.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
  std::filesystem::remove_all(data);
}

TEST_F(Tarsyn7Lifecycle, FirstResetRunsInFullAndSetsTheControlPeriod) {
  ResetAt(44100.0);
  EXPECT_EQ(plug.LastSampleRate(), 44100.0);
  EXPECT_EQ(plug.ControlPeriod(), 44);
  for (int i = 0; i < Tarsyn7::kVoiceCount; ++i) {
    EXPECT_EQ(plug.GetVoice(i).Key(), 60);
    EXPECT_EQ(plug.GetVoice(i).NotePitchIndex(), 7680.0);
    EXPECT_FALSE(plug.GetVoice(i).Active());
  }
  ResetAt(22050.0);
  EXPECT_EQ(plug.ControlPeriod(), 22);
  ResetAt(48000.0);
  EXPECT_EQ(plug.ControlPeriod(), 48);
  ResetAt(8000.0);
  EXPECT_EQ(plug.ControlPeriod(), 8);
}

TEST_F(Tarsyn7Lifecycle, VoiceCountFollowsVoicesAndDcoMode) {
  EXPECT_EQ(plug.PlayableVoices(), 8);
  SetPlain(kDcoMode, 2.0);
  EXPECT_EQ(plug.PlayableVoices(), 4);
  SetPlain(kVoices, 1.0);
  EXPECT_EQ(plug.PlayableVoices(), 64);
  SetPlain(kVoices, 0.0);
  SetPlain(kDcoMode, 1.0);
  EXPECT_EQ(plug.PlayableVoices(), 8);
}

// Re-applying every parameter is no user's move: an armed learn keeps waiting.
TEST_F(Tarsyn7Lifecycle, ActivationIsNotTakenAsTheParameterHalfOfALearn) {
  plug.Learn().Arm(true, false);
  plug.ActivationChanged(true);
  plug.Learn().CaptureController(7);
  EXPECT_TRUE(plug.Learn().Armed());
  EXPECT_EQ(plug.Learn().Target(7), -1);
}

TEST_F(Tarsyn7Lifecycle, ResetDisarmsLearningAndClearsHeldKeys) {
  ResetAt(44100.0);
  plug.Learn().Arm(true, false);
  ResetAt(44100.0);
  EXPECT_FALSE(plug.Learn().Armed());
  EXPECT_TRUE(plug.Held().Empty());
}

TEST_F(Tarsyn7Lifecycle, MidiQueueIsSizedForTheBlock) {
  plug.ChangeBlockSize(3000);
  plug.ResetProcessing();
  EXPECT_EQ(plug.Queue().Capacity(), 3072);
  plug.ChangeBlockSize(2000000000);  // a hostile announcement costs no memory
  plug.ResetProcessing();
  EXPECT_LE(plug.Queue().Capacity(), 65536);
}

TEST_F(Tarsyn7Lifecycle, RendersSilentStereoBlocks) {
  ResetAt(44100.0);
  std::vector<double> left(100, 1.0), right(100, 1.0);
  double* outputs[] = {left.data(), right.data()};
  plug.RenderBlock(nullptr, outputs, 100);
  EXPECT_EQ(left, std::vector<double>(100, 0.0));
  EXPECT_EQ(right, std::vector<double>(100, 0.0));
}

TEST_F(Tarsyn7Lifecycle, LoadProgramStoresTheOutgoingProgram) {
  plug.ModifyCurrentPreset("First");
  ASSERT_TRUE(plug.RecallPreset(1));  // slot 1 becomes a user preset of the live state
  SetPlain(kVcfCutoff, 40.0);
  plug.LoadProgram(0);
  EXPECT_EQ(plug.CurrentPreset(), 0);
  EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Value(), 99.0);
  plug.LoadProgram(1);
  EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Value(), 40.0);
}
