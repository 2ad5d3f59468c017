#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "programs/InitialProgramName.h"
#include "programs/SysEx.h"
#include "programs/TapeImage.h"
#include "programs/TapeWriter.h"
#include "programs/WholeFile.h"
#include "tests/programs/FactoryTable.h"

namespace {

const char kRealDump[] = TARSYN7_SHARED_DIR "/fixtures/poly800ii-factory.syx";

const WavFormat kFormats[] = {{22050, 1, WavSampleFormat::kPcm16},
                              {44100, 2, WavSampleFormat::kPcm24},
                              {48000, 2, WavSampleFormat::kFloat32}};

// Unique per test: ctest runs the tests side by side.
std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
         "-" + name;
}

StateRecord Stored(Tarsyn7& plug, int slot) {
  StateRecord record;
  EXPECT_GT(ParseStateRecord(plug.GetPreset(slot)->state, 0, record, false, false), 0);
  return record;
}

// The image goes to tape in each format and is loaded from there, and as a SysEx dump
// into a second instance; every program must hold the same hardware values in both, and
// the tape's programs start fresh.
void ExpectTapeLoadsAsSysEx(const HardwareDataImage& image, int model) {
  const std::string dump = TempPath("tape-load.syx");
  ASSERT_TRUE(WriteWholeFile(dump, BuildSysExDump(model, image)));
  Tarsyn7 sysex(nullptr);
  bool isPoly800II = false;
  std::string error;
  ASSERT_TRUE(sysex.LoadSysExBank(dump, isPoly800II, error)) << error;

  for (const WavFormat& format : kFormats) {
    const std::string wav = TempPath("tape-load.wav");
    ASSERT_TRUE(WriteWholeFile(wav, TapeRecordingOf(image, format)));
    Tarsyn7 tape(nullptr);
    tape.SetChord({4, 7});
    bool tapeIsPoly800II = !isPoly800II;
    ASSERT_TRUE(tape.LoadTapeBank(wav, tapeIsPoly800II, error))
        << error << " " << format.sampleRate;
    EXPECT_EQ(tapeIsPoly800II, isPoly800II);
    for (int slot = 0; slot < 64; ++slot) {
      const StateRecord fromTape = Stored(tape, slot);
      const StateRecord fromSysEx = Stored(sysex, slot);
      for (ParameterIndex index : HardwareRecordParameters()) {
        ASSERT_EQ(fromTape.values[index], fromSysEx.values[index]) << slot << " " << index;
      }
      EXPECT_EQ(fromTape.values[kLegacyMode], 1.0);
      EXPECT_TRUE(fromTape.chord.empty());
      EXPECT_EQ(tape.PresetName(slot), InitialProgramName(slot));
    }
  }
}

TEST(TapeLoad, RealPoly800IIDumpThroughTapeEqualsItsSysExImport) {
  std::vector<uint8_t> bytes;
  if (!ReadFileStart(kRealDump, 1 << 20, bytes)) GTEST_SKIP() << "real dump not found in ../shared";
  const SysExDump dump = ParseSysExDump(bytes.data(), bytes.size());
  ASSERT_TRUE(dump.image) << dump.error;
  ExpectTapeLoadsAsSysEx(*dump.image, kPoly800II);
}

TEST(TapeLoad, FactoryTableThroughTapeEqualsItsSysExImportWithItsSequence) {
  const std::vector<FactoryProgram> table = ReadFactoryTable();
  if (table.empty()) GTEST_SKIP() << "factory program table not found in ../shared/data";
  Tarsyn7 writer(nullptr);
  StoreFactoryTable(writer, table);
  const Sequence sequence = {
      {false, {{60, 100}, {64, 100}}}, {true, {}}, {false, {}}, {false, {{72, 100}}}};
  writer.SetSequence(sequence);
  const HardwareDataImage image = writer.BankAsHardwareImage(HardwareLayout::kPoly800);
  ExpectTapeLoadsAsSysEx(image, kMidiDumpKit);

  const std::string wav = TempPath("tape-sequence.wav");
  ASSERT_TRUE(writer.SaveTape(wav, HardwareLayout::kPoly800, kFormats[1]));
  Tarsyn7 reader(nullptr);
  std::string error;
  ASSERT_TRUE(reader.LoadTapeSequence(wav, error)) << error;
  ASSERT_EQ(reader.GetSequence().size(), sequence.size());
  for (size_t i = 0; i < sequence.size(); ++i) {
    EXPECT_EQ(reader.GetSequence()[i].tie, sequence[i].tie);
    EXPECT_EQ(reader.GetSequence()[i].notes.size(), sequence[i].notes.size());
  }
}

TEST(TapeLoad, RefusedRecordingChangesNothing) {
  Tarsyn7 plug(nullptr);
  plug.GetPreset(3)->SetName("Kept");
  const std::string wav = TempPath("tape-short.wav");
  // A whole stream, but of a length no model has.
  ASSERT_TRUE(WriteWholeFile(wav, WriteTapeWav(std::vector<uint8_t>(3000, 1), kFormats[0])));
  bool isPoly800II = false;
  std::string error;
  EXPECT_FALSE(plug.LoadTapeBank(wav, isPoly800II, error));
  EXPECT_EQ(error, "The tape holds 3003 bytes, the memory of no Poly-800 model.");
  EXPECT_FALSE(plug.LoadTapeSequence(TempPath("missing.wav"), error));
  EXPECT_EQ(error, "No tape data could be read: the file cannot be read.");
  EXPECT_EQ(plug.PresetName(3), "Kept");
}

}  // namespace
