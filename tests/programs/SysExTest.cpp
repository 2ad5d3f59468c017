#include "programs/SysEx.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "programs/HardwareSequence.h"
#include "programs/WholeFile.h"
#include "tests/programs/FactoryTable.h"

namespace {

const char kRealDump[] = TARSYN7_SHARED_DIR "/fixtures/poly800ii-factory.syx";

std::string TempPath(const char* name) {
  return ::testing::TempDir() + name;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  ReadFileStart(path, 1 << 20, bytes);
  return bytes;
}

// Every slot's stored record and name, to see that nothing changed.
std::vector<std::string> Slots(Tarsyn7& plug) {
  plug.ModifyCurrentPreset();
  std::vector<std::string> slots;
  for (int i = 0; i < plug.PresetCount(); ++i) {
    const Preset* preset = plug.GetPreset(i);
    slots.push_back(preset->name + std::string(reinterpret_cast<const char*>(preset->state.Data()),
                                               static_cast<size_t>(preset->state.Size())));
  }
  return slots;
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

  const std::vector<std::string> first = Slots(plug);
  ASSERT_TRUE(plug.LoadSysExBank(saved, isPoly800II, error)) << error;
  EXPECT_EQ(Slots(plug), first);
}

TEST(SysEx, FactoryTableAsMidiDumpKitDumpReadsBackItsValues) {
  const std::vector<FactoryProgram> table = ReadFactoryTable();
  if (table.empty()) GTEST_SKIP() << "factory program table not found in ../shared/data";
  Tarsyn7 writer(nullptr);
  StoreFactoryTable(writer, table);
  const std::string path = TempPath("factory.syx");
  ASSERT_TRUE(writer.SaveSysEx(path, kMidiDumpKit));
  EXPECT_EQ(FileBytes(path).size(), 3273u);

  Tarsyn7 reader(nullptr);
  bool isPoly800II = true;
  std::string error;
  ASSERT_TRUE(reader.LoadSysExBank(path, isPoly800II, error)) << error;
  EXPECT_FALSE(isPoly800II);
  for (int slot = 0; slot < 64; ++slot) {
    const StateRecord record = Stored(reader, slot);
    for (ParameterIndex index : HardwareRecordParameters()) {
      EXPECT_EQ(record.values[index], table[static_cast<size_t>(slot)].values[index])
          << table[static_cast<size_t>(slot)].name << " " << reader.GetParameter(index)->Name();
    }
  }
}

TEST(SysEx, BrokenFilesAreRefusedAndChangeNothing) {
  Tarsyn7 plug(nullptr);
  plug.GetParameter(kVcfCutoff)->Set(12);
  const std::vector<uint8_t> good =
      BuildSysExDump(kPoly800II, plug.BankAsHardwareImage(HardwareLayout::kPoly800II));
  const std::vector<std::string> before = Slots(plug);

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

  const uint8_t area[] = {1, 2, 36, 40, 0x80 | 43, 0x80 | 120, 2, 0};
  const Sequence read = ReadHardwareSequence(area, sizeof area, 256);
  ASSERT_EQ(read.size(), 5u);
  EXPECT_TRUE(read[0].notes.empty());
  EXPECT_FALSE(read[0].tie);
  EXPECT_TRUE(read[1].tie);
  ASSERT_EQ(read[2].notes.size(), 3u);
  EXPECT_EQ(read[2].notes[2].note, 67);
  EXPECT_EQ(read[2].notes[2].velocity, 100);
  EXPECT_TRUE(read[3].notes.empty()) << "note 144 is no MIDI note";
  EXPECT_TRUE(read[4].tie);
  EXPECT_EQ(ReadHardwareSequence(area, sizeof area, 2).size(), 2u);
  const uint8_t interrupted[] = {1, 36, 1, 0x80 | 40};
  EXPECT_EQ(ReadHardwareSequence(interrupted, sizeof interrupted, 256).size(), 1u);
}

TEST(HardwareSequence, WritingNeverForgesEndRestOrTie) {
  uint8_t area[8];
  WriteHardwareSequence(Steps({{24, 25, 10}, {200}, {-1000000}}), area, 8);
  EXPECT_EQ(area[0], 24 + 12 - 24) << "note 24 not last moves up an octave";
  EXPECT_EQ(area[1], 25 + 12 - 24);
  EXPECT_EQ(area[2], 0x80 | (34 - 24)) << "note 10 moves up into range";
  EXPECT_EQ(area[3], 0x80 | (200 - 7 * 12 - 24)) << "note 200 comes down by octaves";
  EXPECT_EQ(area[4], 0x80 | (32 - 24));
  EXPECT_EQ(area[5], 0);
  const Sequence read = ReadHardwareSequence(area, 8, 256);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0].notes.size(), 3u);

  // A chord that does not fit whole is dropped; the rest of the area stays 0.
  uint8_t small[4];
  WriteHardwareSequence(Steps({{60, 64}, {60, 64, 67}}), small, 4);
  EXPECT_EQ(small[1], 0x80 | 40);
  EXPECT_EQ(small[2], 0);
  EXPECT_EQ(small[3], 0);
  WriteHardwareSequence(Steps({{60}}, true), small, 4);
  EXPECT_EQ(small[0], 2);
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
