#include "programs/ProgramCommands.h"

#include "platform/FilePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"

namespace {

// The program in `slot` gets a sound, a chord, a sequence and a name of its own.
void MakeProgram(Tarsyn7& plug, int slot, double level, bool legacy) {
  plug.LoadProgram(slot);
  plug.GetParameter(kDco1Level)->Set(level);
  plug.GetParameter(kLegacyMode)->Set(legacy ? 1.0 : 0.0);
  for (int i = 0; i < plug.ParameterCount(); ++i) plug.ParameterChanged(i);
  plug.SetChord({slot});
  plug.SetSequence({{false, {{40 + slot, 100}}}});
  plug.ModifyCurrentPreset(("Slot " + std::to_string(slot)).c_str());
}

std::vector<double> Play(Tarsyn7& plug) {
  plug.ChangeSampleRate(44100.0);
  plug.ChangeBlockSize(512);
  plug.ResetProcessing();
  plug.HandleMidiMessage({0, 0x90, 60, 100});
  std::vector<double> left(22050), right(22050);
  double* outputs[] = {left.data(), right.data()};
  plug.RenderBlock(nullptr, outputs, 22050);
  return left;
}

}  // namespace

TEST(ProgramCommandsTest, ProposedNamesAreSafeOnEverySystemAndFoldersKeepTheRoot) {
  EXPECT_EQ(ProposedProgramFileName("A/B:C?"), "A_B_C_");
  EXPECT_EQ(ProposedProgramFileName("Pad\t<1>|\"*\\"), "Pad__1_____");
  EXPECT_EQ(ProposedProgramFileName("Bells. "), "Bells__");
  EXPECT_EQ(ProposedProgramFileName("con"), "con_");
  EXPECT_EQ(ProposedProgramFileName("LPT1.old"), "LPT1.old_");
  EXPECT_EQ(ProposedProgramFileName("Console"), "Console");
  EXPECT_EQ(ProposedProgramFileName(""), "Tarsyn7");
  EXPECT_EQ(ProposedProgramFileName(std::string(80, 'x')), std::string(63, 'x'));

  EXPECT_EQ(FolderOfFile("C:\\b.fxb"), "C:\\");
  EXPECT_EQ(FolderOfFile("/b.fxb"), "/");
  EXPECT_EQ(FolderOfFile("C:\\Banks\\b.fxb"), "C:\\Banks");
  EXPECT_EQ(FolderOfFile("/home/me/b.fxb"), "/home/me");
  EXPECT_EQ(FolderOfFile("b.fxb"), "");
}

TEST(ProgramCommandsTest, PastesTakeWhatTheyNameAndTheNameOfTheCopy) {
  Tarsyn7 plug{nullptr};
  EXPECT_FALSE(plug.PasteProgram(false));  // nothing copied yet
  MakeProgram(plug, 3, 7.0, false);
  MakeProgram(plug, 10, 21.0, false);
  plug.LoadProgram(3);
  plug.CopyProgram();
  plug.ModifyCurrentPreset("Renamed after copying");

  plug.LoadProgram(10);
  ASSERT_TRUE(plug.PasteProgram(true));  // "Sound only"
  EXPECT_EQ(plug.GetParameter(kDco1Level)->Value(), 7.0);
  EXPECT_EQ(plug.Chord(), ChordNotes{3});
  EXPECT_EQ(plug.GetSequence()[0].notes[0].note, 50);
  EXPECT_EQ(plug.PresetName(10), "Slot 3");

  ASSERT_TRUE(plug.PasteProgram(false));  // "Full Program"
  EXPECT_EQ(plug.GetSequence()[0].notes[0].note, 43);

  MakeProgram(plug, 11, 21.0, true);
  ASSERT_TRUE(plug.PasteSequence());
  EXPECT_EQ(plug.GetParameter(kDco1Level)->Value(), 21.0);
  EXPECT_EQ(plug.Chord(), ChordNotes{11});
  EXPECT_EQ(plug.GetSequence()[0].notes[0].note, 43);
  EXPECT_EQ(plug.PresetName(11), "Slot 11");
  EXPECT_EQ(plug.GetParameter(kLegacyMode)->Value(), 0.0);  // the copy's extension
}

// A sequence-only paste that changes the calibration leaves the engine as loading the
// resulting program does.
TEST(ProgramCommandsTest, SequencePasteChangingLegacyModePlaysAsAFreshLoad) {
  auto prepare = [](Tarsyn7& plug) {
    MakeProgram(plug, 3, 7.0, false);
    plug.CopyProgram();
    MakeProgram(plug, 11, 21.0, true);
  };
  Tarsyn7 pasted{nullptr}, loaded{nullptr};
  prepare(pasted);
  prepare(loaded);
  ASSERT_TRUE(pasted.PasteSequence());
  ChunkBuffer state;
  ASSERT_TRUE(pasted.WriteState(state));
  ASSERT_GT(loaded.ReadState(state, 0), 0);
  const std::vector<double> sound = Play(loaded);
  EXPECT_GT(*std::max_element(sound.begin(), sound.end()), 0.01);
  EXPECT_EQ(Play(pasted), sound);
}

TEST(ProgramCommandsTest, InitProgramGivesTheDefaultStateNamedAfterTheSlot) {
  Tarsyn7 plug{nullptr};
  MakeProgram(plug, 12, 3.0, true);
  plug.InitProgram();
  EXPECT_EQ(plug.PresetName(12), "Program 2-5");
  EXPECT_TRUE(plug.Chord().empty());
  EXPECT_TRUE(plug.GetSequence().empty());
  for (int i = 0; i < plug.ParameterCount(); ++i) {
    EXPECT_EQ(plug.GetParameter(i)->Value(), plug.GetParameter(i)->Default()) << i;
  }
}
