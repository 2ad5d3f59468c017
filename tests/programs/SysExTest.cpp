#include "programs/SysEx.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/Tarsyn7.h"
#include "programs/HardwareSequence.h"
#include "programs/WholeFile.h"
#include "tests/programs/FactoryTable.h"

namespace {

const char kRealDump[] = TARSYN7_SHARED_DIR "/fixtures/poly800ii-factory.syx";

std::string TempPath(const char* name) {
  // Unique per test: ctest runs the tests side by side.
  return ::testing::TempDir() + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
         "-" + name;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  ReadFileStart(path, 1 << 20, bytes);
  return bytes;
}

// Every slot's name and stored record, to see that nothing changed.
std::vector<uint8_t> Slots(Tarsyn7& plug) {
  plug.ModifyCurrentPreset();
  ChunkBuffer chunk;
  plug.SerializePresets(chunk);
  return std::vector<uint8_t>(chunk.Data(), chunk.Data() + chunk.Size());
}

StateRecord Stored(Tarsyn7& plug, int slot) {
  StateRecord record;
  EXPECT_GT(ParseStateRecord(plug.GetPreset(slot)->state, 0, record, false, false), 0);
  return record;
}

Sequence Steps(std::vector<std::vector<int>> notes, bool tie = false) {
  Sequence sequence;
  for (const std::vector<int>& step : notes) {
    sequence.push_back({tie, {}});
    for (int note : step) sequence.back().notes.push_back({note, 100});
  }
  return sequence;
}

}  // namespace

TEST(SysEx, RealPoly800IIDumpLoadsAndSavesItsRecordsByteForByte) {
  const std::vector<uint8_t> original = FileBytes(kRealDump);
  if (original.empty()) GTEST_SKIP() << "real Poly-800 II dump not found in ../shared/fixtures";
  ASSERT_EQ(original.size(), 5383u);
  Tarsyn7 plug(nullptr);
  plug.GetPreset(5)->SetName("Kept");
  plug.SetSequence(Steps({{60}, {64, 67}}));
  const Sequence live = plug.GetSequence();
  bool isPoly800II = false;
  std::string error;
  ASSERT_TRUE(plug.LoadSysExBank(kRealDump, isPoly800II, error)) << error;
  EXPECT_TRUE(isPoly800II);
  EXPECT_EQ(plug.PresetName(5), "Kept");
  EXPECT_EQ(plug.GetSequence().size(), live.size());
  for (int slot = 0; slot < 64; ++slot) {
    const StateRecord record = Stored(plug, slot);
    for (int i = 0; i < kParameterCount; ++i) {
      const Parameter* parameter = plug.GetParameter(i);
      EXPECT_GE(record.values[i], parameter->Minimum()) << slot << " " << parameter->Name();
      EXPECT_LE(record.values[i], parameter->Maximum()) << slot << " " << parameter->Name();
    }
    EXPECT_EQ(record.values[kChorus], 0.0);
    EXPECT_EQ(record.values[kVolume], 0.5);
    EXPECT_EQ(record.values[kLegacyMode], 1.0);
  }

  const std::string saved = TempPath("saved.syx");
  ASSERT_TRUE(plug.SaveSysEx(saved, kPoly800II));
  const SysExDump before = ParseSysExDump(original.data(), original.size());
  const std::vector<uint8_t> savedBytes = FileBytes(saved);
  const SysExDump after = ParseSysExDump(savedBytes.data(), savedBytes.size());
  ASSERT_TRUE(after.image) << after.error;
  for (int slot = 0; slot < 64; ++slot) {
    EXPECT_EQ(after.image->Program(slot).bytes, before.image->Program(slot).bytes) << slot;
  }

  const std::vector<uint8_t> first = Slots(plug);
  ASSERT_TRUE(plug.LoadSysExBank(saved, isPoly800II, error)) << error;
  EXPECT_EQ(Slots(plug), first);
}

// The factory table stored into the slots, saved as a MIDI Dump Kit dump and loaded into
// another instance.
class FactoryTableDump : public ::testing::Test {
 protected:
  void SetUp() override {
    table = ReadFactoryTable();
    if (table.empty()) GTEST_SKIP() << "factory program table not found in ../shared/data";
    ASSERT_EQ(table.size(), 64u);
    Tarsyn7 writer(nullptr);
    StoreFactoryTable(writer, table);
    const std::string path = TempPath("factory.syx");
    ASSERT_TRUE(writer.SaveSysEx(path, kMidiDumpKit));
    ASSERT_EQ(FileBytes(path).size(), 3273u);
    bool isPoly800II = true;
    std::string error;
    ASSERT_TRUE(reader.LoadSysExBank(path, isPoly800II, error)) << error;
    EXPECT_FALSE(isPoly800II);
  }

  // Every value the hardware record holds, against `expected` of each slot.
  void ExpectRecordValues(const std::function<double(int slot, ParameterIndex index)>& expected) {
    for (int slot = 0; slot < 64; ++slot) {
      const StateRecord record = Stored(reader, slot);
      for (ParameterIndex index : HardwareRecordParameters()) {
        EXPECT_EQ(record.values[index], expected(slot, index))
            << slot << " " << reader.GetParameter(index)->Name();
      }
    }
  }

  std::vector<FactoryProgram> table;
  Tarsyn7 reader{nullptr};
};

TEST_F(FactoryTableDump, ReadsBackTheTable) {
  ExpectRecordValues([&](int slot, ParameterIndex index) {
    return table[static_cast<size_t>(slot)].values[index];
  });
}

TEST_F(FactoryTableDump, HoldsThePoly800FactoryBank) {
  Tarsyn7 factory(nullptr);
  if (!factory.GetPreset(0)->initialised) GTEST_SKIP() << "no factory bank in this build";
  ExpectRecordValues([&](int slot, ParameterIndex index) {
    return HardwareValueFromPlain(index, Stored(factory, slot).values[index]);
  });
}

TEST(SysEx, BrokenFilesAreRefusedAndChangeNothing) {
  Tarsyn7 plug(nullptr);
  plug.GetParameter(kVcfCutoff)->Set(12);
  const std::vector<uint8_t> good =
      BuildSysExDump(kPoly800II, plug.BankAsHardwareImage(HardwareLayout::kPoly800II));
  const std::vector<uint8_t> before = Slots(plug);

  auto cut = [&](size_t length) {
    return std::vector<uint8_t>(good.begin(), good.begin() + length);
  };
  auto with = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> bytes = good;
    bytes[at] = value;
    return bytes;
  };
  const std::vector<std::vector<uint8_t>> broken = {
      {},
      cut(3),
      cut(5000),
      cut(good.size() - 1),
      with(3, 2),                     // no hardware's model
      with(2400, good[2400] ^ 0x01),  // a flipped nibble fails the checksum
      with(2400, 0x1F),               // above 0x0F
      with(2400, 0xF7),               // ends early
      with(good.size() - 1, 0x00),    // no 0xF7 where the layout ends
  };
  for (size_t i = 0; i < broken.size(); ++i) {
    const std::string path = TempPath("broken.syx");
    ASSERT_TRUE(WriteWholeFile(path, broken[i]));
    bool isPoly800II = false;
    std::string error;
    EXPECT_FALSE(plug.LoadSysExBank(path, isPoly800II, error)) << i;
    EXPECT_FALSE(error.empty()) << i;
    EXPECT_FALSE(plug.LoadSysExSequence(path, error)) << i;
    EXPECT_EQ(Slots(plug), before) << i;
  }
  std::vector<uint8_t> longer = good;
  longer.insert(longer.end(), {0xF0, 0x99});
  EXPECT_TRUE(ParseSysExDump(longer.data(), longer.size()).image) << "what follows is ignored";
  EXPECT_FALSE(plug.SaveSysEx("", kEx800));
  EXPECT_FALSE(plug.SaveSysEx(TempPath("model.syx"), 2));
  EXPECT_FALSE(plug.SaveSysEx("/nonexistent-folder/x.syx", kEx800));
}

TEST(HardwareSequence, ReadingStaysInsideTheArea) {
  // The fill of real dumps: notes with no last-note mark up to the area's end.
  std::vector<uint8_t> fill(1000);
  for (size_t i = 0; i < fill.size(); ++i) fill[i] = i % 2 ? 87 : 26;
  EXPECT_TRUE(ReadHardwareSequence(fill.data(), 1000, 1000).empty());

  const uint8_t area[] = {1, 2, 36, 40, 0x80 | 43, 0x80 | 120, 36, 1, 0x80 | 40};
  const Sequence read = ReadHardwareSequence(area, sizeof area, 256);
  ASSERT_EQ(read.size(), 4u) << "the step cut by a rest byte ends the reading";
  EXPECT_TRUE(!read[0].tie && read[0].notes.empty() && read[1].tie);
  ASSERT_EQ(read[2].notes.size(), 3u);
  EXPECT_EQ(read[2].notes[2].note, 67);
  EXPECT_EQ(read[2].notes[2].velocity, 100);
  EXPECT_TRUE(read[3].notes.empty()) << "note 144 is no MIDI note";
  EXPECT_EQ(ReadHardwareSequence(area, sizeof area, 2).size(), 2u);
}

TEST(HardwareSequence, WritingNeverForgesEndRestOrTie) {
  uint8_t area[8];
  WriteHardwareSequence(Steps({{24, 25, 10}, {200}, {-1000000}, {60, 64, 67, 72}}), area, 8);
  const uint8_t expected[] = {36 - 24,           37 - 24,
                              0x80 | (34 - 24),  // 24, 25 not last: an octave up
                              0x80 | (116 - 24), 0x80 | (32 - 24), 0, 0, 0};  // the chord: no room
  EXPECT_EQ(std::vector<uint8_t>(area, area + 8), std::vector<uint8_t>(expected, expected + 8));
  WriteHardwareSequence(Steps({{60}}, true), area, 8);
  EXPECT_EQ(area[0], 2);
}

TEST(SysEx, SequenceLoadReplacesOnlyTheCurrentSequence) {
  Tarsyn7 plug(nullptr);
  plug.SetSequence(Steps({{48, 52, 55}, {}, {60}}));
  const std::string path = TempPath("sequence.syx");
  ASSERT_TRUE(plug.SaveSysEx(path, kEx800));
  plug.SetSequence({});
  plug.SetChord({4, 7});
  std::string error;
  ASSERT_TRUE(plug.LoadSysExSequence(path, error)) << error;
  ASSERT_EQ(plug.GetSequence().size(), 3u);
  EXPECT_EQ(plug.GetSequence()[0].notes.size(), 3u);
  EXPECT_EQ(plug.Chord(), ChordNotes({4, 7}));
  EXPECT_EQ(Stored(plug, plug.CurrentPreset()).sequence.size(), 3u);
}
