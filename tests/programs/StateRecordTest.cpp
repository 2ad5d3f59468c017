#include "programs/StateRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"
#include "tests/engine/PlayingPlug.h"

namespace {

constexpr int kValues = 80;

// Everything a state record carries, taken from the live state for comparison.
struct LiveState {
  std::vector<double> values;
  ChordNotes chord;
  std::vector<std::tuple<bool, std::vector<std::pair<int32_t, int32_t>>>> steps;

  bool operator==(const LiveState& other) const {
    return values == other.values && chord == other.chord && steps == other.steps;
  }
};

LiveState Capture(const Tarsyn7& plug) {
  LiveState state;
  for (int i = 0; i < kValues; ++i) state.values.push_back(plug.GetParameter(i)->Value());
  state.chord = plug.Chord();
  for (const SequenceStep& step : plug.GetSequence()) {
    std::vector<std::pair<int32_t, int32_t>> notes;
    for (const StepNote& note : step.notes) notes.emplace_back(note.note, note.velocity);
    state.steps.emplace_back(step.tie, notes);
  }
  return state;
}

Sequence ExampleSequence() {
  return {{false, {{60, 100}}},
          {true, {}},
          {false, {}},  // a rest
          {false, {{64, 90}, {67, 80}, {71, 127}}}};
}

// Moves every sound parameter away from its default, each to a value of its own.
void SetDistinctValues(Tarsyn7& plug) {
  for (int i = 0; i < kFirstReserved; ++i) {
    Parameter* parameter = plug.GetParameter(i);
    parameter->SetNormalized(std::fmod(0.37 * (i + 1), 1.0));
    plug.ParameterChanged(i);
  }
  plug.SetChord({4, 7, -12});
  plug.SetSequence(ExampleSequence());
}

// A record as older versions wrote it: no marker, the values first. Written here field
// by field, independent of the writer under test.
ChunkBuffer LegacyRecord(const std::vector<double>& values, int32_t extensionCount,
                         int32_t version = 0, uint8_t legacyByte = 0) {
  ChunkBuffer chunk;
  for (double value : values) chunk.PutDouble(value);
  chunk.PutInt32(2);  // chord 3, 7
  chunk.PutInt32(3);
  chunk.PutInt32(7);
  chunk.PutInt32(1);  // one tie step holding one note
  chunk.PutByte(1);
  chunk.PutInt32(1);
  chunk.PutInt32(48);
  chunk.PutInt32(64);
  chunk.PutInt32(extensionCount);
  if (extensionCount >= 1) {
    chunk.PutInt32(version);
    chunk.PutByte(legacyByte);
  }
  return chunk;
}

class StateRecordTest : public ::testing::Test {
 protected:
  std::vector<double> DefaultValues() const {
    std::vector<double> values;
    for (int i = 0; i < kValues; ++i) values.push_back(plug.GetParameter(i)->Default());
    return values;
  }

  ChunkBuffer Written() {
    ChunkBuffer chunk;
    EXPECT_TRUE(plug.WriteState(chunk));
    return chunk;
  }

  Tarsyn7 plug{nullptr};
};

}  // namespace

TEST_F(StateRecordTest, FreshRecordHasMarkerHeadAndExtensionTail) {
  plug.GetPreset(0)->SetName("Lead");
  plug.SetChord({12});
  plug.SetSequence({{false, {{60, 100}}}});
  const ChunkBuffer chunk = Written();

  ASSERT_EQ(chunk.Size(), 13 + 4 + (4 + 4) + 80 * 8 + (4 + 4) + (4 + 1 + 4 + 8) + 4 + 4 + 1);
  EXPECT_EQ(std::memcmp(chunk.Data(), "Tarsyn7_2.4.2", 13), 0);
  int32_t index = -1;
  std::string name;
  int position = chunk.GetInt32(index, 13);
  position = chunk.GetString(name, position);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(name, "Lead");
  int32_t count = 0, version = 0;
  uint8_t legacy = 9;
  position = chunk.GetInt32(count, chunk.Size() - 9);
  position = chunk.GetInt32(version, position);
  chunk.GetByte(legacy, position);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(version, 2501);
  EXPECT_EQ(legacy, plug.GetParameter(kLegacyMode)->Value() >= 0.5 ? 1 : 0);
}

TEST_F(StateRecordTest, RoundTripRestoresValuesChordAndSequence) {
  SetDistinctValues(plug);
  const ChunkBuffer chunk = Written();
  const LiveState written = Capture(plug);

  Tarsyn7 other{nullptr};
  EXPECT_EQ(other.ReadState(chunk, 0), chunk.Size());
  EXPECT_EQ(Capture(other), written);
  ChunkBuffer again;
  ASSERT_TRUE(other.WriteState(again));
  ASSERT_EQ(again.Size(), chunk.Size());
  EXPECT_EQ(std::memcmp(again.Data(), chunk.Data(), static_cast<size_t>(chunk.Size())), 0);
}

TEST_F(StateRecordTest, ReservedValuesAreAlwaysWrittenAsZero) {
  for (int i = kFirstReserved; i < kValues; ++i) plug.GetParameter(i)->Set(1.0);
  const ChunkBuffer chunk = Written();
  const int valuesStart = 13 + 4 + 4 + static_cast<int>(plug.PresetName(0).size());
  for (int i = kFirstReserved; i < kValues; ++i) {
    double value = -1.0;
    chunk.GetDouble(value, valuesStart + 8 * i);
    EXPECT_EQ(value, 0.0) << i;
  }
}

TEST_F(StateRecordTest, ValuesAreClampedIntoTheirRanges) {
  std::vector<double> values = DefaultValues();
  values[kVcfCutoff] = 1e9;
  values[kTune] = -7.0;
  values[kVolume] = std::numeric_limits<double>::quiet_NaN();
  const ChunkBuffer chunk = LegacyRecord(values, 5, 2501, 0);
  ASSERT_EQ(plug.ReadState(chunk, 0), chunk.Size());
  EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Value(), 99.0);
  EXPECT_EQ(plug.GetParameter(kTune)->Value(), -1.0);
  EXPECT_EQ(plug.GetParameter(kVolume)->Value(), 0.0);
}

TEST_F(StateRecordTest, LegacyRecordsFollowTheirVersionAndLegacyByte) {
  struct Case {
    int32_t extensionCount, version;
    uint8_t legacyByte;
    double legacy, brightness, gainBoost;
  };
  // Values read as 1 for all three before the extension applies.
  const Case cases[] = {
      {5, 2100, 0, 0.0, 1.0, 1.0},  // the maker's sounds: legacy off, brightness as read
      {5, 1901, 1, 1.0, 1.0, 1.0},  // Poly-800 factory sounds: only legacy
      {5, 1901, 0, 0.0, 1.0, 1.0},
      {5, 1900, 0, 0.0, 0.0, 1.0},  // older still: the byte stands for brightness too
      {5, 1900, 1, 1.0, 1.0, 1.0},
      {0, 0, 0, 0.0, 0.0, 0.0},  // no extension: everything newer is off
  };
  for (const Case& c : cases) {
    std::vector<double> values = DefaultValues();
    values[kLegacyMode] = 1.0;
    values[kGainBoost] = 1.0;
    values[kBrightness] = 1.0;
    const ChunkBuffer chunk = LegacyRecord(values, c.extensionCount, c.version, c.legacyByte);
    if (c.extensionCount == 5) {
      EXPECT_EQ(chunk.Size(), 657 + 8 + 13);  // 657 without chord and steps
    }
    SCOPED_TRACE(c.version);
    ASSERT_EQ(plug.ReadState(chunk, 0), chunk.Size());
    EXPECT_EQ(plug.GetParameter(kLegacyMode)->Value(), c.legacy);
    EXPECT_EQ(plug.GetParameter(kBrightness)->Value(), c.brightness);
    EXPECT_EQ(plug.GetParameter(kGainBoost)->Value(), c.gainBoost);
    EXPECT_EQ(plug.Chord(), (ChordNotes{3, 7}));
    ASSERT_EQ(plug.GetSequence().size(), 1u);
    EXPECT_TRUE(plug.GetSequence()[0].tie);
    EXPECT_EQ(plug.GetSequence()[0].notes[0].note, 48);
    EXPECT_EQ(plug.GetSequence()[0].notes[0].velocity, 64);
  }
}

TEST_F(StateRecordTest, ARecordDifferingFromTheMarkerInOneByteIsLegacy) {
  plug.GetParameter(kVolume)->Set(0.25);
  ChunkBuffer chunk = Written();
  Tarsyn7 target{nullptr};
  ASSERT_EQ(target.ReadState(chunk, 0), chunk.Size());
  EXPECT_EQ(target.GetParameter(kVolume)->Value(), 0.25);

  chunk.Data()[12] = '3';  // "Tarsyn7_2.4.3": its bytes are read as values
  target.GetParameter(kVolume)->Set(0.5);
  EXPECT_NE(target.ReadState(chunk, 0), chunk.Size());
  EXPECT_NE(target.GetParameter(kVolume)->Value(), 0.25);
}

TEST_F(StateRecordTest, SkippingPartsKeepsThemAndLandsOnTheSameEnd) {
  SetDistinctValues(plug);
  const ChunkBuffer chunk = Written();
  const LiveState written = Capture(plug);

  Tarsyn7 soundKept{nullptr};
  const LiveState before = Capture(soundKept);
  EXPECT_EQ(soundKept.ReadStateParts(chunk, 0, true, false), chunk.Size());
  LiveState after = Capture(soundKept);
  EXPECT_EQ(after.steps, written.steps);
  EXPECT_EQ(after.chord, before.chord);
  EXPECT_EQ(after.values[kVcfCutoff], before.values[kVcfCutoff]);

  Tarsyn7 sequenceKept{nullptr};
  EXPECT_EQ(sequenceKept.ReadStateParts(chunk, 0, false, true), chunk.Size());
  after = Capture(sequenceKept);
  EXPECT_EQ(after.chord, written.chord);
  EXPECT_EQ(after.values[kVcfCutoff], written.values[kVcfCutoff]);
  EXPECT_TRUE(after.steps.empty());

  // Passing over the values of a record with marker lands on the chord count.
  StateRecord record;
  const int nameLength = static_cast<int>(plug.PresetName(0).size());
  const int chordCount = 13 + 4 + 4 + nameLength + 80 * 8;
  ChunkBuffer cut;
  cut.PutBytes(chunk.Data(), chordCount);
  cut.PutInt32(0);  // chord, step and extension counts
  cut.PutInt32(0);
  cut.PutInt32(0);
  EXPECT_EQ(ParseStateRecord(cut, 0, record, true, false), cut.Size());
}

TEST_F(StateRecordTest, RecordsCutShortFailAndChangeNothing) {
  SetDistinctValues(plug);
  const ChunkBuffer chunk = Written();

  Tarsyn7 target{nullptr};
  target.SetChord({1});
  const LiveState before = Capture(target);
  for (int length = 0; length < chunk.Size(); ++length) {
    ChunkBuffer cut;
    cut.PutBytes(chunk.Data(), length);
    ASSERT_LT(target.ReadState(cut, 0), 0) << length;
    ASSERT_EQ(Capture(target), before) << length;
  }
  // Ending right after the sequence, without the extension count, is a failed read too.
  std::vector<double> values = DefaultValues();
  ChunkBuffer noExtension = LegacyRecord(values, 0);
  noExtension.Resize(noExtension.Size() - 4);
  EXPECT_LT(target.ReadState(noExtension, 0), 0);
}

TEST_F(StateRecordTest, CountsClaimingMoreThanTheBufferFail) {
  for (int32_t count : {0x7FFFFFFF, 0x10000000}) {
    ChunkBuffer chord;
    for (int i = 0; i < kValues; ++i) chord.PutDouble(0.0);
    chord.PutInt32(count);
    chord.PutInt32(1);
    EXPECT_LT(plug.ReadState(chord, 0), 0);

    ChunkBuffer steps;
    for (int i = 0; i < kValues; ++i) steps.PutDouble(0.0);
    steps.PutInt32(0);
    steps.PutInt32(1);
    steps.PutByte(0);
    steps.PutInt32(count);
    EXPECT_LT(plug.ReadState(steps, 0), 0);
  }
  // Marker with a name length running past the end.
  ChunkBuffer name;
  name.PutBytes(StateRecord::kMarker, StateRecord::kMarkerLength);
  name.PutInt32(0);
  name.PutInt32(0x7FFFFFF0);
  EXPECT_LT(plug.ReadState(name, 0), 0);
  EXPECT_LT(plug.ReadState(name, -5), 0);
}

TEST_F(StateRecordTest, NegativeCountsReadAsEmptyLists) {
  ChunkBuffer chunk;
  for (int i = 0; i < kValues; ++i) chunk.PutDouble(plug.GetParameter(i)->Default());
  chunk.PutInt32(-3);  // chord
  chunk.PutInt32(-1);  // steps
  chunk.PutInt32(0);
  plug.SetChord({5});
  EXPECT_EQ(plug.ReadState(chunk, 0), chunk.Size());
  EXPECT_TRUE(plug.Chord().empty());
  EXPECT_TRUE(plug.GetSequence().empty());
}

// A stored chord reaches no further than one key from another, so no note it adds can
// run past the pitch range, whatever a damaged record held.
TEST(StateRecordChord, IntervalsAreKeptToWhatAKeyCanReach) {
  PlayingPlug source;
  source.plug.SetChord({0x7FFFFFF0, -0x7FFFFFF0, 7});
  ChunkBuffer chunk;
  ASSERT_TRUE(source.plug.WriteState(chunk));

  PlayingPlug player;
  ASSERT_EQ(player.plug.ReadState(chunk, 0), chunk.Size());
  EXPECT_EQ(player.plug.Chord(), ChordNotes({127, -127, 7}));
  player.Set(kMode, 1.0);  // Chord
  for (int key : {0, 60, 127}) {
    player.NoteOn(key);
    for (double sample : player.Render(512)) ASSERT_TRUE(std::isfinite(sample));
    for (int i = 0; i < player.plug.PlayableVoices(); ++i) {
      EXPECT_GE(player.VoiceAt(i).Key(), 0);
      EXPECT_LE(player.VoiceAt(i).Key(), 135);
    }
    player.NoteOff(key);
  }
}
