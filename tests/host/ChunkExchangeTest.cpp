// Program and bank chunks as the host gets and sets them, including damaged ones.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"
#include "programs/ChunkHeader.h"
#include "tests/host/TestHost.h"

namespace {

using Bytes = std::vector<uint8_t>;

// One instance with its own host, reached only through its AEffect record.
class Instance {
 public:
  explicit Instance(const char* vendor = "Test Vendor") {
    host.vendor = vendor;
    ActiveHost use(&host);
    plug = std::make_unique<Tarsyn7>(&TestHost::Callback);
    effect = plug->Effect();
  }

  VstIntPtr Dispatch(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr) {
    ActiveHost use(&host);
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
  }

  Bytes Get(int32_t index) {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, index, 0, &data);
    if (size <= 0 || !data) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return Bytes(bytes, bytes + size);
  }

  VstIntPtr Set(int32_t index, const Bytes& bytes) {
    return Dispatch(effSetChunk, index, static_cast<VstIntPtr>(bytes.size()),
                    const_cast<uint8_t*>(bytes.data()));
  }

  // Every slot with its name and flag, and the live state: what a failed read must keep.
  Bytes Snapshot() {
    ChunkBuffer chunk;
    plug->SerializePresets(chunk);
    plug->WriteState(chunk);
    chunk.PutInt32(plug->CurrentPreset());
    return Bytes(chunk.Data(), chunk.Data() + chunk.Size());
  }

  void SetPlain(int index, double value) {
    Parameter* parameter = plug->GetParameter(index);
    parameter->Set(parameter->Clamp(value));
    plug->ParameterChanged(index);
  }

  TestHost host;
  std::unique_ptr<Tarsyn7> plug;
  AEffect* effect = nullptr;
};

// Slot i gets cutoff i, its own chord and sequence, and a name.
void FillSlots(Instance& instance) {
  for (int i = 0; i < 64; ++i) {
    instance.Dispatch(effSetProgram, 0, i);
    instance.SetPlain(kVcfCutoff, i);
    instance.SetPlain(kDeg1Attack, 31 - i % 32);
    instance.plug->SetChord({i % 12, -i});
    instance.plug->SetSequence({{i % 2 == 0, {{36 + i, 1 + i}}}, {false, {}}});
    const std::string name = "Slot " + std::to_string(i);
    instance.Dispatch(effSetProgramName, 0, 0, const_cast<char*>(name.c_str()));
  }
  instance.Dispatch(effSetProgram, 0, 3);
}

Bytes Truncated(const Bytes& bytes, size_t length) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

}  // namespace

TEST(ChunkExchange, ProgramChunkRestoresStateAndName) {
  Instance source;
  source.SetPlain(kVcfCutoff, 23.0);
  source.SetPlain(kMode, 1.0);
  source.plug->SetChord({3, 7, 10});
  source.plug->SetSequence({{false, {{60, 100}, {64, 90}}}, {true, {}}, {false, {}}});
  source.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Minor Seven"));
  const Bytes chunk = source.Get(1);
  ASSERT_GT(chunk.size(), 8u + 13u);
  EXPECT_EQ(std::memcmp(chunk.data(), "tffp\x00\x00\x01\x00", 8), 0);
  EXPECT_EQ(std::memcmp(chunk.data() + 8, "Tarsyn7_2.4.2", 13), 0);
  EXPECT_EQ(std::memcmp(chunk.data() + chunk.size() - 11, "Minor Seven", 11), 0);

  Instance target;
  target.Dispatch(effSetProgram, 0, 9);
  EXPECT_EQ(target.Set(1, chunk), 1);
  EXPECT_EQ(target.plug->GetParameter(kVcfCutoff)->Value(), 23.0);
  EXPECT_EQ(target.plug->GetParameter(kMode)->Value(), 1.0);
  EXPECT_EQ(target.plug->Chord(), (ChordNotes{3, 7, 10}));
  ASSERT_EQ(target.plug->GetSequence().size(), 3u);
  EXPECT_EQ(target.plug->GetSequence()[0].notes[1].note, 64);
  EXPECT_EQ(target.plug->GetSequence()[0].notes[1].velocity, 90);
  EXPECT_TRUE(target.plug->GetSequence()[1].tie);
  EXPECT_EQ(target.plug->PresetName(9), "Minor Seven");
}

TEST(ChunkExchange, ProgramChunkWithoutNameKeepsTheSlotName) {
  Instance source;
  source.SetPlain(kVcfCutoff, 61.0);
  ChunkBuffer record;
  ASSERT_TRUE(source.plug->WriteState(record));

  Instance target;
  target.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Kept"));
  ChunkBuffer withHeader;
  WriteChunkHeader(withHeader);
  withHeader.PutChunk(record);
  for (const ChunkBuffer* chunk : {&withHeader, &record}) {  // with and without header
    target.SetPlain(kVcfCutoff, 0.0);
    EXPECT_EQ(target.Set(1, Bytes(chunk->Data(), chunk->Data() + chunk->Size())), 1);
    EXPECT_EQ(target.plug->GetParameter(kVcfCutoff)->Value(), 61.0);
    EXPECT_EQ(target.plug->PresetName(0), "Kept");
  }
  // Stored in the current slot too.
  target.SetPlain(kVcfCutoff, 0.0);
  ASSERT_TRUE(target.plug->RecallPreset(0));
  EXPECT_EQ(target.plug->GetParameter(kVcfCutoff)->Value(), 61.0);
}

TEST(ChunkExchange, BankChunkRestoresAllSlots) {
  Instance source;
  FillSlots(source);
  const Bytes bank = source.Get(0);

  Instance target;
  EXPECT_EQ(target.Set(0, bank), 1);
  EXPECT_EQ(target.Dispatch(effGetProgram), 0);  // the current slot stays, recalled
  for (int i = 0; i < 64; ++i) {
    SCOPED_TRACE(i);
    target.Dispatch(effSetProgram, 0, i);
    EXPECT_EQ(target.plug->PresetName(i), "Slot " + std::to_string(i));
    EXPECT_EQ(target.plug->GetParameter(kVcfCutoff)->Value(), i);
    EXPECT_EQ(target.plug->GetParameter(kDeg1Attack)->Value(), 31 - i % 32);
    EXPECT_EQ(target.plug->Chord(), (ChordNotes{i % 12, -i}));
    ASSERT_EQ(target.plug->GetSequence().size(), 2u);
    EXPECT_EQ(target.plug->GetSequence()[0].tie, i % 2 == 0);
    EXPECT_EQ(target.plug->GetSequence()[0].notes[0].note, 36 + i);
  }
}

TEST(ChunkExchange, UninitialisedSlotsStayUninitialised) {
  Instance source;
  for (int i = 0; i < 64; ++i) source.plug->GetPreset(i)->initialised = false;
  ChunkBuffer bank;
  WriteChunkHeader(bank);
  ASSERT_TRUE(source.plug->SerializePresets(bank));
  EXPECT_EQ(bank.Size(), 8 + 64 * (4 + 5 + 1));  // "empty" and a 0 byte each

  Instance target;
  FillSlots(target);
  EXPECT_EQ(target.Set(0, Bytes(bank.Data(), bank.Data() + bank.Size())), 1);
  const int current = target.plug->CurrentPreset();
  for (int i = 0; i < 64; ++i) {
    if (i == current) continue;
    EXPECT_EQ(target.plug->PresetName(i), "empty");
    EXPECT_FALSE(target.plug->GetPreset(i)->initialised) << i;
  }
  // The current slot is recalled, which stores the live state in it as a user preset.
  EXPECT_EQ(target.plug->PresetName(current), "user preset 1");
}

TEST(ChunkExchange, BankChunkWithoutHeaderIsReadAsOneProgram) {
  Instance source;
  source.SetPlain(kVcfCutoff, 17.0);
  ChunkBuffer record;
  ASSERT_TRUE(source.plug->WriteState(record));
  Instance target;
  EXPECT_EQ(target.Set(0, Bytes(record.Data(), record.Data() + record.Size())), 1);
  EXPECT_EQ(target.plug->GetParameter(kVcfCutoff)->Value(), 17.0);
}

TEST(ChunkExchange, LongNamesAreShortenedTo255Characters) {
  Instance source;
  source.plug->GetPreset(0)->name = std::string(400, 'L');  // as a bank could carry it
  const Bytes bank = source.Get(0);
  Instance target;
  EXPECT_EQ(target.Set(0, bank), 1);
  EXPECT_EQ(target.plug->PresetName(0), std::string(255, 'L'));
}

TEST(ChunkExchange, OwnChunkPointerCanBeHandedBack) {
  Instance instance;
  FillSlots(instance);
  for (int32_t index : {0, 1}) {
    void* data = nullptr;
    const VstIntPtr size = instance.Dispatch(effGetChunk, index, 0, &data);
    ASSERT_GT(size, 0);
    EXPECT_EQ(instance.Dispatch(effSetChunk, index, size, data), 1) << index;
  }
  EXPECT_EQ(instance.plug->PresetName(3), "Slot 3");
}

TEST(ChunkExchange, MissingOrImpossibleSizesAnswerZero) {
  Instance instance;
  const Bytes chunk = instance.Get(1);
  uint8_t byte = 0;
  EXPECT_EQ(instance.Dispatch(effSetChunk, 1, 10, nullptr), 0);
  EXPECT_EQ(instance.Dispatch(effSetChunk, 1, 0, &byte), 0);
  EXPECT_EQ(instance.Dispatch(effSetChunk, 1, -4, &byte), 0);
  EXPECT_EQ(
      instance.Dispatch(effSetChunk, 1, VstIntPtr{1} << 40, const_cast<uint8_t*>(chunk.data())), 0);
  EXPECT_EQ(instance.Dispatch(effGetChunk, 1), 0);
}

// Damaged chunks answer 0 and leave every slot, every name and the live state as they
// were: cut short anywhere, random bytes, and counts claiming more than is there.
TEST(ChunkExchange, DamagedChunksAnswerZeroAndChangeNothing) {
  Instance source;
  FillSlots(source);
  const Bytes bank = source.Get(0);
  const Bytes program = source.Get(1);

  const auto prepared = [] {
    auto instance = std::make_unique<Instance>();
    FillSlots(*instance);
    instance->SetPlain(kVcfCutoff, 77.0);  // a live edit not yet stored
    return instance;
  };
  std::unique_ptr<Instance> target = prepared();
  const Bytes before = target->Snapshot();
  const auto expectRejected = [&](int32_t index, const Bytes& bytes, const char* what) {
    ASSERT_EQ(target->Set(index, bytes), 0) << what << " " << bytes.size();
    ASSERT_EQ(target->Snapshot(), before) << what << " " << bytes.size();
  };

  const size_t nameless = program.size() - 4 - std::strlen("Slot 3");  // complete without name
  for (size_t length = 1; length < nameless; ++length) {
    expectRejected(1, Truncated(program, length), "program cut");
  }
  for (size_t length = 1; length < bank.size(); length += length < 64 ? 1 : 211) {
    expectRejected(0, Truncated(bank, length), "bank cut");
  }
  expectRejected(0, Truncated(bank, bank.size() - 1), "bank cut");

  Bytes oversizedName = bank;
  oversizedName[8] = oversizedName[9] = oversizedName[10] = 0xFF;
  oversizedName[11] = 0x7F;
  expectRejected(0, oversizedName, "slot name length");

  // Random bytes may happen to read as a legacy program; those are taken.
  std::mt19937 random(7);
  for (int round = 0; round < 150; ++round) {
    Bytes bytes(random() % 1500 + 1);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    if (round % 2 == 0 && bytes.size() >= 8) std::memcpy(bytes.data(), "tffp\x00\x00\x01\x00", 8);
    if (target->Set(round % 3 == 0 ? 1 : 0, bytes) == 0) {
      ASSERT_EQ(target->Snapshot(), before) << "random " << round;
    } else {
      target = prepared();
    }
  }
}

// A complete program loads whatever follows it: no name, padding, or a name cut short.
// The slot then keeps its own name, as for an empty one.
TEST(ChunkExchange, CompleteProgramsLoadWithoutAWholeName) {
  Instance source;
  FillSlots(source);
  const Bytes program = source.Get(1);
  const Bytes nameless = Truncated(program, program.size() - 4 - std::strlen("Slot 3"));
  Bytes padded = nameless;
  padded.insert(padded.end(), 3, 0);
  for (const char* vendor : {"Test Vendor", "Native Instruments"}) {
    for (const Bytes& bytes : {nameless, padded, Truncated(program, program.size() - 2)}) {
      Instance target(vendor);
      target.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Mine"));
      EXPECT_EQ(target.Set(1, bytes), 1) << vendor << " " << bytes.size();
      EXPECT_EQ(target.plug->GetParameter(kVcfCutoff)->Value(), 3.0);
      EXPECT_EQ(target.plug->PresetName(0), "Mine");
    }
  }
}

TEST(ChunkExchange, SpecialHostsGetProgramChunksAndMayHandBackBanks) {
  for (const char* vendor : {"Native Instruments", "JUCE VST Host"}) {
    SCOPED_TRACE(vendor);
    Instance special(vendor);
    const Bytes asked = special.Get(0);
    ASSERT_GT(asked.size(), 21u);
    EXPECT_EQ(std::memcmp(asked.data() + 8, "Tarsyn7_2.4.2", 13), 0);  // a program

    special.SetPlain(kVcfCutoff, 5.0);
    const Bytes program = special.Get(0);
    special.SetPlain(kVcfCutoff, 50.0);
    EXPECT_EQ(special.Set(0, program), 1);
    EXPECT_EQ(special.plug->GetParameter(kVcfCutoff)->Value(), 5.0);

    Instance normal;
    FillSlots(normal);
    const Bytes bank = normal.Get(0);
    EXPECT_EQ(special.Set(0, bank), 1);
    EXPECT_EQ(special.plug->PresetName(40), "Slot 40");

    const Bytes before = special.Snapshot();
    EXPECT_EQ(special.Set(0, Truncated(bank, bank.size() / 2)), 0);
    EXPECT_EQ(special.Snapshot(), before);
  }
}
