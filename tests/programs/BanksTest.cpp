#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"
#include "programs/Configuration.h"
#include "programs/WholeFile.h"

namespace {

// Names of this test program's own: ctest runs the tests as processes side by side, and
// other builds of them may run at the same time.
std::string TestPath(const std::string& name) {
  return ::testing::TempDir() + "tarsyn7-banks-" + std::to_string(getpid()) + "-" + name;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  ReadWholeFile(path, 1u << 26, bytes);
  return bytes;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  ASSERT_TRUE(WriteWholeFile(path, bytes));
}

int32_t BigEndianAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return static_cast<int32_t>(static_cast<uint32_t>(bytes[offset]) << 24 |
                              static_cast<uint32_t>(bytes[offset + 1]) << 16 |
                              static_cast<uint32_t>(bytes[offset + 2]) << 8 | bytes[offset + 3]);
}

void PutBigEndian(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    bytes.push_back(static_cast<uint8_t>(value >> shift));
}

void PutText(std::vector<uint8_t>& bytes, const char* text, size_t width) {
  const size_t length = std::strlen(text);
  for (size_t i = 0; i < width; ++i)
    bytes.push_back(i < length ? static_cast<uint8_t>(text[i]) : 0);
}

// The whole program store as the host's bank chunk shows it, to see that nothing changed.
std::vector<uint8_t> Slots(Tarsyn7& plug) {
  ChunkBuffer chunk;
  plug.SerializePresets(chunk);
  return std::vector<uint8_t>(chunk.Data(), chunk.Data() + chunk.Size());
}

// Slots 0-3 get sounds, chords and sequences of their own; slot 2 stays current.
void MakeDistinctPrograms(Tarsyn7& plug) {
  for (int slot = 0; slot < 4; ++slot) {
    plug.LoadProgram(slot);
    for (int i = 0; i < kFirstReserved; ++i) {
      plug.GetParameter(i)->SetNormalized(std::fmod(0.29 * (i + 1) + 0.11 * slot, 1.0));
      plug.ParameterChanged(i);
    }
    plug.SetChord({slot, 7});
    plug.SetSequence({{false, {{60 + slot, 100}}}, {true, {}}});
    plug.ModifyCurrentPreset(("Program " + std::to_string(slot)).c_str());
  }
  plug.LoadProgram(2);
}

class BanksTest : public ::testing::Test {
 protected:
  Tarsyn7 plug{nullptr};
};

}  // namespace

TEST_F(BanksTest, BankAndProgramFilesRoundTripByteForByte) {
  MakeDistinctPrograms(plug);
  const std::string bank = TestPath("round.fxb"), again = TestPath("again.fxb");
  plug.ModifyCurrentPreset();
  ASSERT_TRUE(plug.SaveBankFile(bank));
  const std::vector<uint8_t> bytes = FileBytes(bank);
  ASSERT_GT(bytes.size(), 168u);
  EXPECT_EQ(std::memcmp(bytes.data(), "CcnK", 4), 0);
  EXPECT_EQ(BigEndianAt(bytes, 4), static_cast<int32_t>(bytes.size()));
  EXPECT_EQ(std::memcmp(bytes.data() + 8, "FBCh", 4), 0);
  EXPECT_EQ(BigEndianAt(bytes, 12), 2);
  EXPECT_EQ(std::memcmp(bytes.data() + 16, "tsy7", 4), 0);
  EXPECT_EQ(BigEndianAt(bytes, 20), 20501);
  EXPECT_EQ(BigEndianAt(bytes, 24), 64);
  EXPECT_EQ(BigEndianAt(bytes, 28), 2);
  EXPECT_EQ(BigEndianAt(bytes, 156), static_cast<int32_t>(bytes.size()) - 160);
  EXPECT_EQ(std::memcmp(bytes.data() + 160, "tffp", 4), 0);

  Tarsyn7 other{nullptr};
  other.LoadProgram(2);  // a bank load keeps the current program
  ASSERT_TRUE(other.LoadBankFile(bank));
  EXPECT_EQ(other.PresetName(3), "Program 3");
  EXPECT_EQ(Slots(other), Slots(plug));
  other.ModifyCurrentPreset();
  ASSERT_TRUE(other.SaveBankFile(again));
  EXPECT_EQ(FileBytes(again), bytes);

  const std::string program = TestPath("round.fxp"), programAgain = TestPath("again.fxp");
  ASSERT_TRUE(plug.SaveProgramFile(program));
  const std::vector<uint8_t> programBytes = FileBytes(program);
  EXPECT_EQ(BigEndianAt(programBytes, 4), static_cast<int32_t>(programBytes.size()));
  EXPECT_EQ(std::memcmp(programBytes.data() + 8, "FPCh", 4), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(programBytes.data()) + 28), "Program 2");
  other.LoadProgram(5);
  ASSERT_TRUE(other.LoadProgramFile(program, false, false));
  EXPECT_EQ(other.PresetName(5), "Program 2");
  EXPECT_EQ(other.Chord(), (ChordNotes{2, 7}));
  other.LoadProgram(2);
  ASSERT_TRUE(other.LoadProgramFile(program, false, false));
  ASSERT_TRUE(other.SaveProgramFile(programAgain));
  EXPECT_EQ(FileBytes(programAgain), programBytes);
}

TEST_F(BanksTest, TruncatedDamagedAndForeignFilesChangeNothing) {
  MakeDistinctPrograms(plug);
  plug.ModifyCurrentPreset();
  const std::string bank = TestPath("whole.fxb"), program = TestPath("whole.fxp");
  const std::string cut = TestPath("cut.fx");
  ASSERT_TRUE(plug.SaveBankFile(bank));
  ASSERT_TRUE(plug.SaveProgramFile(program));
  Tarsyn7 target{nullptr};
  target.LoadProgram(1);
  const std::vector<uint8_t> before = Slots(target);
  const double volume = target.GetParameter(kVolume)->Value();

  for (const std::string& path : {bank, program}) {
    const std::vector<uint8_t> whole = FileBytes(path);
    const bool isBank = path == bank;
    auto load = [&](const std::vector<uint8_t>& bytes) {
      WriteBytes(cut, bytes);
      return isBank ? target.LoadBankFile(cut) : target.LoadProgramFile(cut, false, false);
    };
    // Every length of a program file; of a bank, the header, the first slot and its end.
    for (size_t length = 0; length < whole.size();
         length += isBank && length >= 700 && length + 64 < whole.size() ? 211 : 1) {
      EXPECT_FALSE(load({whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)}))
          << path << " cut to " << length;
    }
    std::vector<uint8_t> foreign = whole;
    std::memcpy(foreign.data() + 16, "abcd", 4);
    EXPECT_FALSE(load(foreign));
    std::vector<uint8_t> otherMagic = whole;
    std::memcpy(otherMagic.data() + 8, "FxXX", 4);
    EXPECT_FALSE(load(otherMagic));
    EXPECT_EQ(Slots(target), before);
    EXPECT_EQ(target.GetParameter(kVolume)->Value(), volume);
  }
  EXPECT_FALSE(target.LoadBankFile(TestPath("missing.fxb")));
  EXPECT_FALSE(target.LoadBankFile(""));
}

// A parameter bank of another tool: 70 programs of 80 normalised values; the first 64 load.
TEST_F(BanksTest, ParameterBankLoadsFirst64ProgramsWithNonFiniteValuesAtMinimum) {
  plug.SetChord({3});
  plug.ModifyCurrentPreset();
  // "CcnK", byte size (not read), magic, format version, plug-in identifier and version,
  // and the count of programs or parameters.
  auto putHead = [](std::vector<uint8_t>& file, const char* magic, uint32_t count) {
    for (const char* text : {"CcnK", "\0\0\0\0", magic}) PutText(file, text, 4);
    for (uint32_t value : {1u, 0x74737937u, 1u, count}) PutBigEndian(file, value);
  };
  std::vector<uint8_t> file;
  putHead(file, "FxBk", 70);
  PutBigEndian(file, 5);  // current program
  file.resize(156, 0);
  for (int program = 0; program < 70; ++program) {
    putHead(file, "FxCk", 80);
    PutText(file, ("Param " + std::to_string(program)).c_str(), 28);
    for (int i = 0; i < 80; ++i) {
      float value = program == 1 && i == kVolume      ? std::numeric_limits<float>::infinity()
                    : program == 1 && i == kVcfCutoff ? std::nanf("")
                    : i == kLegacyMode                ? 1.0f
                                                      : 0.25f;
      uint32_t bits;
      std::memcpy(&bits, &value, 4);
      PutBigEndian(file, bits);
    }
  }
  const std::string path = TestPath("parameters.fxb");
  WriteBytes(path, file);
  ASSERT_TRUE(plug.LoadBankFile(path));
  EXPECT_EQ(plug.PresetName(63), "Param 63");
  EXPECT_EQ(plug.CurrentPreset(), 5);
  plug.LoadProgram(1);
  EXPECT_EQ(plug.GetParameter(kVolume)->Value(), plug.GetParameter(kVolume)->Minimum());
  EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Value(), plug.GetParameter(kVcfCutoff)->Minimum());
  EXPECT_EQ(plug.GetParameter(kLegacyMode)->Value(), 1.0);
  EXPECT_DOUBLE_EQ(plug.GetParameter(kDco2Level)->Normalized(),
                   plug.GetParameter(kDco2Level)
                       ->ToNormalized(plug.GetParameter(kDco2Level)->FromNormalized(0.25)));
  plug.LoadProgram(0);
  EXPECT_EQ(plug.Chord(), ChordNotes{3});  // the slot's own chord stays

  file.resize(156 + 64 * 376 - 1);  // the 64th program cut short: nothing loads
  WriteBytes(path, file);
  const std::vector<uint8_t> before = Slots(plug);
  EXPECT_FALSE(plug.LoadBankFile(path));
  EXPECT_EQ(Slots(plug), before);
}

TEST_F(BanksTest, FailedSaveKeepsTheTargetAndLeavesNoTemporaryFile) {
  const std::string folder = TestPath("a-folder.fxb");
  std::filesystem::create_directories(folder);
  EXPECT_FALSE(plug.SaveBankFile(folder));  // a folder cannot be replaced by a file
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_FALSE(std::filesystem::exists(folder + ".tmp"));
  EXPECT_FALSE(plug.SaveBankFile(TestPath("no-such-folder/bank.fxb")));
  EXPECT_FALSE(plug.SaveProgramFile(""));
}

// The host has no AEffect while the plug-in is being built: loading the startup or
// factory bank then tells it nothing. Later loads do.
TEST(BanksConstructionTest, NoHostCallsWhileTheBankLoadsDuringConstruction) {
  static int updates = 0;
  updates = 0;
  auto host = [](AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) -> VstIntPtr {
    if (opcode == audioMasterUpdateDisplay) ++updates;
    return 0;
  };
  Tarsyn7 plug{host};
  EXPECT_EQ(updates, 0);
  ASSERT_TRUE(plug.RestoreFactoryBank(false));
  EXPECT_EQ(updates, 1);
}

// A startup bank chosen in the settings file is what every new instance starts with; when
// it is missing or damaged the instance starts with the factory sounds and forgets the
// path for its own life only.
TEST(StartupBankTest, NewInstancesLoadItOrFallBackToTheFactorySounds) {
  // A settings file of this test's own, given up again when it ends.
  struct OwnSettingsFolder {
    OwnSettingsFolder() : before(std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "") {
      const std::string dataHome = TestPath("startup-bank-home");
      std::filesystem::create_directories(dataHome);
      setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    }
    ~OwnSettingsFolder() { setenv("XDG_DATA_HOME", before.c_str(), 1); }
    std::string before;
  } settingsFolder;
  const std::string bank = TestPath("startup.fxb");
  {
    Tarsyn7 chooser{nullptr};
    MakeDistinctPrograms(chooser);
    chooser.ModifyCurrentPreset();
    ASSERT_TRUE(chooser.SaveBankFile(bank));
    ASSERT_TRUE(chooser.SetStartupBank(bank));
  }
  EXPECT_EQ(Tarsyn7{nullptr}.PresetName(3), "Program 3");

  const std::vector<uint8_t> whole = FileBytes(bank);
  for (const std::vector<uint8_t>& damaged :
       {std::vector<uint8_t>(whole.begin(), whole.end() - 100), std::vector<uint8_t>{}}) {
    if (damaged.empty()) {
      std::filesystem::remove(bank);
    } else {
      WriteBytes(bank, damaged);
    }
    Tarsyn7 plug{nullptr};
    EXPECT_EQ(plug.PresetName(0), "Strings");
    EXPECT_EQ(plug.Settings().StartupBank(), "");
    Configuration file(plug.ConfigurationFile());
    ASSERT_TRUE(file.Read());
    EXPECT_EQ(file.StartupBank(), bank);
  }
}
