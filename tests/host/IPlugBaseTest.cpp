#include "host/IPlugBase.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A plug-in base with two parameters whose host calls are recorded.
class RecordingPlug : public IPlugBase {
 public:
  explicit RecordingPlug(const char* channels = "1-0 0-2")
      : IPlugBase(
            2, 4, channels,
            {"Test", "", "Vendor", 0x00010203, FourCharacters("test"), FourCharacters("Vndr")}) {
    GetParameter(0)->InitInt("Steps", 0, 0, 31);
    GetParameter(1)->InitDouble("Level", 0.5, 0.0, 1.0, 0.01);
  }

  void ParameterChanged(int index) override { changed.push_back(index); }
  void HostBeginGesture(int) override {}
  void HostParameterChanged(int index, double normalized) override {
    automated.emplace_back(index, normalized);
  }
  void HostEndGesture(int) override {}
  void HostProgramChanged() override {}
  bool HostIsOffline() override { return false; }
  double HostSamplePosition() override { return 0.0; }
  double HostTempo() override { return 0.0; }
  void HostTimeSignature(int& numerator, int& denominator) override { numerator = denominator = 0; }
  void ReadHostTime(TimeInfo&) override {}
  void EditorResized(int, int) override {}
  void HostOpened() override {}
  bool SendMidi(const MidiMessage&) override { return true; }
  bool SendSysExData(const SysExMessage&) override { return true; }

  std::vector<int> changed;
  std::vector<std::pair<int, double>> automated;
};

}  // namespace

TEST(IPlugBaseChannels, ChannelStringGivesPinsAndLegalPairs) {
  RecordingPlug plug;
  EXPECT_EQ(plug.InputCount(), 1);
  EXPECT_EQ(plug.OutputCount(), 2);
  EXPECT_TRUE(plug.LegalIO(1, -1));
  EXPECT_TRUE(plug.LegalIO(0, 2));
  EXPECT_FALSE(plug.LegalIO(2, -1));
  EXPECT_FALSE(plug.LegalIO(1, 2));

  RecordingPlug odd("2-x 4");
  ASSERT_EQ(odd.ChannelPairs().size(), 2u);
  EXPECT_EQ(odd.ChannelPairs()[0], std::make_pair(2, 0));
  EXPECT_EQ(odd.ChannelPairs()[1], std::make_pair(4, 0));
  EXPECT_EQ(odd.InputCount(), 4);
  EXPECT_EQ(odd.OutputCount(), 0);
}

TEST(IPlugBaseAccess, OutOfRangeIndicesAnswerNothing) {
  RecordingPlug plug;
  EXPECT_EQ(plug.GetParameter(-1), nullptr);
  EXPECT_EQ(plug.GetParameter(2), nullptr);
  EXPECT_EQ(plug.GetPreset(4), nullptr);
  EXPECT_EQ(plug.PresetName(-1), "");
  EXPECT_EQ(plug.ParameterDisplayText(9), "");
  EXPECT_FALSE(plug.RecallPreset(4));
  EXPECT_EQ(plug.CurrentPreset(), 0);
  plug.SetParameterFromEditor(5, 0.5);
  EXPECT_TRUE(plug.changed.empty());
}

TEST(IPlugBaseEditing, SetParameterFromEditorTellsHostAndEngine) {
  RecordingPlug plug;
  plug.SetParameterFromEditor(0, 0.5);
  EXPECT_EQ(plug.GetParameter(0)->Value(), 16.0);
  ASSERT_EQ(plug.automated.size(), 1u);
  EXPECT_EQ(plug.automated[0], std::make_pair(0, 0.5));
  EXPECT_EQ(plug.changed, std::vector<int>{0});
}

TEST(IPlugBasePresets, RecallOfAnEmptySlotNamesItAfterTheUserPresets) {
  RecordingPlug plug;
  plug.GetPreset(0)->SetName("user preset 1");
  plug.GetPreset(1)->SetName("my user preset");
  ASSERT_TRUE(plug.RecallPreset(2));
  EXPECT_EQ(plug.PresetName(2), "user preset 3");
  EXPECT_TRUE(plug.GetPreset(2)->initialised);
  EXPECT_EQ(plug.CurrentPreset(), 2);
}

TEST(IPlugBasePresets, RecallRestoresStoredValuesAndModifyCapturesLiveOnes) {
  RecordingPlug plug;
  plug.GetParameter(0)->Set(7.0);
  plug.ModifyCurrentPreset("Seven");
  EXPECT_EQ(plug.PresetName(0), "Seven");
  plug.ModifyCurrentPreset("");  // an empty name keeps the old one
  EXPECT_EQ(plug.PresetName(0), "Seven");
  plug.GetParameter(0)->Set(3.0);
  ASSERT_TRUE(plug.RecallPreset(0));
  EXPECT_EQ(plug.GetParameter(0)->Value(), 7.0);
}

TEST(IPlugBasePresets, BankRoundTripKeepsNamesFlagsAndStates) {
  RecordingPlug source;
  source.GetParameter(0)->Set(11.0);
  source.ModifyCurrentPreset("Eleven");
  ChunkBuffer bank;
  ASSERT_TRUE(source.SerializePresets(bank));

  RecordingPlug target;
  EXPECT_EQ(target.UnserializePresets(bank, 0), bank.Size());
  EXPECT_EQ(target.PresetName(0), "Eleven");
  EXPECT_TRUE(target.GetPreset(0)->initialised);
  EXPECT_FALSE(target.GetPreset(1)->initialised);
  EXPECT_EQ(target.PresetName(1), "empty");
  EXPECT_EQ(target.GetParameter(0)->Value(), 11.0);  // current slot recalled
}

TEST(IPlugBasePresets, ABankCutShortChangesNoSlotAndNoLiveValue) {
  RecordingPlug source;
  for (int i = 0; i < source.PresetCount(); ++i) {
    ASSERT_TRUE(source.RecallPreset(i));
    source.GetParameter(0)->Set(10.0 + i);
    source.ModifyCurrentPreset("Bank");
  }
  ChunkBuffer bank;
  ASSERT_TRUE(source.SerializePresets(bank));

  RecordingPlug target;
  target.GetParameter(0)->Set(5.0);
  target.ModifyCurrentPreset("Five");
  target.GetParameter(1)->Set(0.7);  // a live edit not yet stored
  for (int length = 0; length < bank.Size(); ++length) {
    ChunkBuffer cut;
    cut.PutBytes(bank.Data(), length);
    ASSERT_LT(target.UnserializePresets(cut, 0), 0) << length;
    ASSERT_EQ(target.PresetName(0), "Five") << length;
    ASSERT_EQ(target.PresetName(3), "empty") << length;
    ASSERT_FALSE(target.GetPreset(3)->initialised) << length;
    ASSERT_EQ(target.GetParameter(0)->Value(), 5.0) << length;
    ASSERT_EQ(target.GetParameter(1)->Value(), 0.7) << length;
  }
  EXPECT_EQ(target.UnserializePresets(bank, 0), bank.Size());
  EXPECT_EQ(target.PresetName(3), "Bank");
  EXPECT_EQ(target.GetParameter(0)->Value(), 10.0);
}

TEST(IPlugBasePresets, StoredValuesAreClampedIntoRange) {
  RecordingPlug plug;
  ChunkBuffer state;
  state.PutDouble(99.0);
  state.PutDouble(-4.0);
  EXPECT_EQ(plug.ReadState(state, 0), state.Size());
  EXPECT_EQ(plug.GetParameter(0)->Value(), 31.0);
  EXPECT_EQ(plug.GetParameter(1)->Value(), 0.0);
  ChunkBuffer shortState;
  shortState.PutDouble(1.0);
  EXPECT_LT(plug.ReadState(shortState, 0), 0);
}

TEST(IPlugBaseAudio, BlockSizeSizesScratchAndRenderCopiesInputs) {
  RecordingPlug plug;
  plug.ChangeBlockSize(16);
  EXPECT_EQ(plug.OutputPin(1).scratch.size(), 16u);
  plug.ChangeBlockSize(0);
  EXPECT_EQ(plug.BlockSize(), 0);
  EXPECT_EQ(plug.ScratchFrames(), 1);
  plug.ChangeBlockSize(1 << 30);  // announced, but never allocated
  EXPECT_EQ(plug.BlockSize(), 1 << 30);
  EXPECT_EQ(plug.OutputPin(0).scratch.size(), size_t{IPlugBase::kMaxScratchFrames});

  std::vector<double> in{1, 2, 3}, left(3, 9.0), right(3, 9.0);
  double* inputs[] = {in.data()};
  double* outputs[] = {left.data(), right.data()};
  plug.RenderBlock(inputs, outputs, 3);
  EXPECT_EQ(left, in);
  EXPECT_EQ(right, std::vector<double>(3, 0.0));
}
