#include "programs/Configuration.h"

#include <fstream>

#include "tests/SettingsHome.h"

namespace fs = std::filesystem;

namespace {

class ConfigurationFile : public SettingsHome {
 protected:
  std::string Path() const { return (folder_ / "tarsyn7.ini").string(); }
  void WriteText(const std::string& text) const { std::ofstream(Path(), std::ios::binary) << text; }
};

}  // namespace

TEST_F(ConfigurationFile, AFreshUserGetsTheFoldersAndAnEmptyFile) {
  const fs::path dataHome = folder_ / "no" / "such" / "share";
  setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
  const std::string path = Configuration::StandardFilePath();

  EXPECT_EQ(path, (dataHome / "CorvaneMusic" / "tarsyn7.ini").string());
  EXPECT_TRUE(fs::is_regular_file(path));
  EXPECT_EQ(fs::file_size(path), 0u);
  Configuration fresh(path);
  EXPECT_TRUE(fresh.Read());
  EXPECT_FALSE(fresh.MidiThru() || fresh.IgnoreProgramChange() || fresh.UseBreathController() ||
               fresh.ShowParameters());
  EXPECT_EQ(fresh.StartupBank(), "");
  EXPECT_EQ(SharedTapeReadSettings(), TapeReadSettings{});
  for (const int parameter : fresh.Controllers()) EXPECT_EQ(parameter, -1);
}

TEST_F(ConfigurationFile, EveryKeyMakesTheRoundTrip) {
  Configuration written(Path());
  written.SetStartupBank(std::string(300, 'b') + " \"banks\"\\startup.fxb ");
  written.SetProgramFilesFolder(std::string(70, 'p'));
  written.SetShowParameters(true);
  written.SetMidiThru(true);
  written.SetIgnoreProgramChange(true);
  written.SetUseBreathController(true);
  written.Controllers()[0] = 79;
  written.Controllers()[74] = 23;
  written.Controllers()[119] = 0;
  const TapeReadSettings tape{true, true, 99999, 12, 1};
  SetSharedTapeReadSettings(tape);
  ASSERT_TRUE(written.Write(Configuration::kEverything));
  ASSERT_TRUE(written.Write(Configuration::kProgramFilesFolder));

  SetSharedTapeReadSettings({});
  Configuration read(Path());
  ASSERT_TRUE(read.Read());
  EXPECT_EQ(read.StartupBank(), written.StartupBank());  // whole, blanks and quotes kept
  EXPECT_EQ(read.ProgramFilesFolder(), written.ProgramFilesFolder());
  EXPECT_TRUE(read.ShowParameters() && read.MidiThru() && read.IgnoreProgramChange() &&
              read.UseBreathController());
  EXPECT_EQ(read.Controllers(), written.Controllers());
  EXPECT_EQ(SharedTapeReadSettings(), tape);

  // "Save Configuration" drops the keys of controllers no longer bound.
  read.Controllers()[74] = -1;
  ASSERT_TRUE(read.Write(Configuration::kEverything));
  EXPECT_EQ(IniFile::Load(Path())->Get("MIDI Control", "CC74"), std::nullopt);
}

TEST_F(ConfigurationFile, ReadsValuesAsTheFileFormatDefines) {
  WriteText(
      "[MIDI Global]\nMIDI Thru=TRUE\nUse Breath Controller=TRUE\nIgnore Program Change=\n"
      "[Tape Read]\nThreshold=025\nHighpass Frequency=0\nLowpass Frequency=700000\n"
      "[MIDI Control]\nCC7=0\nCC8=abc\nCC9=80\nCC10=99999999999\nCC11=-5\nCC12=12 \n"
      "[Global]\nPath to Program Files=\n");
  Configuration read(Path());
  read.SetIgnoreProgramChange(true);
  read.SetProgramFilesFolder("/home/user/Documents");
  TapeReadSettings previous;
  previous.threshold = 30;
  previous.highpassFrequency = 200;
  SetSharedTapeReadSettings(previous);
  ASSERT_TRUE(read.Read());
  EXPECT_TRUE(read.MidiThru());
  EXPECT_FALSE(read.UseBreathController());  // only the exact "true" switches it on
  EXPECT_TRUE(read.IgnoreProgramChange());   // empty: unchanged
  EXPECT_EQ(read.ProgramFilesFolder(), "/home/user/Documents");
  const TapeReadSettings tape = SharedTapeReadSettings();
  EXPECT_EQ(tape.threshold, 30);  // leading zero: kept
  EXPECT_EQ(tape.highpassFrequency, 200);
  EXPECT_EQ(tape.lowpassFrequency, TapeReadSettings::kMaximumFrequency);
  EXPECT_EQ(read.Controllers()[7], 0);
  for (int controller = 8; controller <= 11; ++controller) {
    EXPECT_EQ(read.Controllers()[static_cast<size_t>(controller)], -1) << controller;
  }
  EXPECT_EQ(read.Controllers()[12], 12);

  WriteText("[Tape Read]\nThreshold=25\n");
  ASSERT_TRUE(read.Read());
  EXPECT_EQ(SharedTapeReadSettings().threshold, 25);
  EXPECT_EQ(SharedTapeReadSettings().highpassFrequency, 330);  // absent: the default
}

TEST_F(ConfigurationFile, WritesOnlyWhatWasAskedAndRefusesWhatCannotBeStored) {
  WriteText("[Startup Bank]\nFile=/banks/mine.fxb\n[Elsewhere]\nKept=yes\n");
  Configuration configuration(Path());
  ASSERT_TRUE(configuration.Read());
  configuration.SetStartupBank("");  // as after a failed startup load
  configuration.SetMidiThru(true);
  ASSERT_TRUE(configuration.Write(Configuration::kMidiThru));
  const IniFile file = *IniFile::Load(Path());
  EXPECT_EQ(file.Get("Startup Bank", "File"), "/banks/mine.fxb");
  EXPECT_EQ(file.Get("Elsewhere", "Kept"), "yes");
  EXPECT_EQ(file.Get("MIDI Global", "MIDI Thru"), "true");

  const std::string before = IniFile::Load(Path())->Text();
  configuration.SetStartupBank("/banks/a\r\n[Global]\nPath to Program Files=/evil");
  EXPECT_FALSE(configuration.Write(Configuration::kStartupBank));
  EXPECT_FALSE(configuration.Write(Configuration::kEverything));
  EXPECT_EQ(IniFile::Load(Path())->Text(), before);

  fs::remove(Path());  // a reload without the file changes nothing
  EXPECT_FALSE(configuration.Read());
  EXPECT_TRUE(configuration.MidiThru());

  Configuration memoryOnly;  // no application-data folder: nothing is written anywhere
  EXPECT_FALSE(memoryOnly.Write(Configuration::kEverything));
  EXPECT_FALSE(memoryOnly.Read());
}
