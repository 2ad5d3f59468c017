#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/tools/SmfBytes.h"
#include "tools/render/MidiFileReader.h"
#include "tools/host/RenderError.h"

namespace {

using Bytes = std::vector<uint8_t>;

// One track with every kind of event, running status among them.
Bytes EveryKindOfEvent() {
  TrackBytes track;
  track.Tempo(0, 400000)
      .Event(0, {0x90, 60, 100})
      .Event(96, {62, 90})  // running status
      .Event(0, {0xC3, 5})
      .Event(0, {0xD3, 70})
      .Event(0, {0xA0, 60, 30})
      .Event(128, {0xE0, 0x00, 0x40})  // a two-byte delta time
      .Event(0, {0xB0, 7, 100})
      .Event(0, {0xFF, 0x01, 0x03, 'a', 'b', 'c'})  // text: ignored
      .Event(0, {60, 0})                            // running status survives meta events
      .Event(0, {0xF0, 0x03, 0x43, 0x10, 0xF7})
      .Event(0, {0xF7, 0x02, 0xF8, 0xFA})
      .End();
  return SmfBytes(0, 480, {track});
}

std::string RefusalOf(const Bytes& bytes) {
  try {
    ParseMidiFile(bytes);
  } catch (const RenderError& error) {
    return error.what();
  }
  return "accepted";
}

}  // namespace

TEST(MidiFileReader, ReadsEveryKindOfEventWithRunningStatus) {
  const MidiFile song = ParseMidiFile(EveryKindOfEvent());
  EXPECT_EQ(song.format, 0);
  EXPECT_EQ(song.ticksPerQuarter, 480);
  const std::vector<std::pair<uint64_t, Bytes>> expected = {
      {0, {0x90, 60, 100}},  {96, {0x90, 62, 90}}, {96, {0xC3, 5}},
      {96, {0xD3, 70}},      {96, {0xA0, 60, 30}}, {224, {0xE0, 0x00, 0x40}},
      {224, {0xB0, 7, 100}}, {224, {0xB0, 60, 0}}, {224, {0xF0, 0x43, 0x10, 0xF7}},
      {224, {0xF8, 0xFA}}};
  ASSERT_EQ(song.events.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(song.events[i].tick, expected[i].first) << i;
    EXPECT_EQ(song.events[i].bytes, expected[i].second) << i;
  }
  ASSERT_EQ(song.tempos.size(), 1u);
  EXPECT_EQ(song.tempos[0].microsecondsPerQuarter, 400000u);
}

TEST(MidiFileReader, MergesTracksInTimeOrderKeepingTrackOrderAtOneTick) {
  TrackBytes conductor;
  conductor.Tempo(0, 500000).TimeSignature(0, 3, 2).Tempo(960, 600000).End();
  TrackBytes first;
  first.Event(0, {0x90, 60, 100}).Event(480, {0x80, 60, 0}).End();
  TrackBytes second;
  second.Event(240, {0x91, 64, 100}).Event(240, {0x81, 64, 0}).End();
  const MidiFile song = ParseMidiFile(SmfBytes(1, 96, {conductor, first, second}));
  ASSERT_EQ(song.events.size(), 4u);
  EXPECT_EQ(song.events[0].bytes[0], 0x90);
  EXPECT_EQ(song.events[1].bytes[0], 0x91);
  EXPECT_EQ(song.events[2].bytes[0], 0x80);  // tick 480: the first track's event first
  EXPECT_EQ(song.events[3].bytes[0], 0x81);
  ASSERT_EQ(song.tempos.size(), 2u);
  EXPECT_EQ(song.tempos[1].tick, 960u);
  ASSERT_EQ(song.signatures.size(), 1u);
  EXPECT_EQ(song.signatures[0].numerator, 3);
  EXPECT_EQ(song.signatures[0].denominator, 4);
}

TEST(MidiFileReader, TakesSmpteTimingTracksWithoutEndAndUnknownChunks) {
  TrackBytes track;
  track.Event(0x7F, {0x90, 60, 100});          // no end-of-track event
  Bytes bytes = SmfBytes(0, 0xE728, {track});  // 25 frames of 40 ticks
  const Bytes unknown = {'X', 'Y', 'Z', 'W', 0, 0, 0, 2, 1, 2};
  bytes.insert(bytes.begin() + 14, unknown.begin(), unknown.end());
  const MidiFile song = ParseMidiFile(bytes);
  EXPECT_DOUBLE_EQ(song.ticksPerSecond, 1000.0);
  ASSERT_EQ(song.events.size(), 1u);
  EXPECT_EQ(song.events[0].tick, 127u);
}

TEST(MidiFileReader, RefusesBrokenFilesSayingWhy) {
  TrackBytes good;
  good.Event(0, {0x90, 60, 100}).End();
  auto file = [](int format, uint16_t division, TrackBytes track) {
    return SmfBytes(format, division, {track});
  };
  auto track = [](std::initializer_list<uint8_t> bytes) {
    TrackBytes t;
    t.Event(0, bytes);
    return t;
  };
  Bytes shortHeader = SmfBytes(0, 480, {good});
  shortHeader[7] = 4;
  Bytes missingTrack = SmfBytes(1, 480, {good});
  missingTrack[11] = 2;
  Bytes longTrack = SmfBytes(0, 480, {good});
  longTrack[21] += 1;
  Bytes hugeTrack = SmfBytes(0, 480, {good});
  hugeTrack[18] = 0xFF;
  const std::vector<std::pair<Bytes, std::string>> cases = {
      {{}, "not a Standard MIDI File"},
      {{'R', 'I', 'F', 'F', 0, 0, 0, 0}, "not a Standard MIDI File"},
      {{'M', 'T', 'h', 'd', 0, 0}, "cut short"},
      {shortHeader, "header is too short"},
      {file(2, 480, good), "format 2"},
      {file(7, 480, good), "unknown format"},
      {file(0, 0, good), "zero ticks per quarter"},
      {file(0, 0xE500, good), "SMPTE frame rate"},
      {file(0, 0xE700, good), "zero ticks per SMPTE frame"},
      {SmfBytes(0, 480, {}), "no tracks"},
      {missingTrack, "ends after 1 of 2 tracks"},
      {longTrack, "track 1 is cut short"},
      {hugeTrack, "track 1 is cut short"},
      {file(0, 480, track({60, 100})), "data byte where a status byte belongs"},
      {file(0, 480, track({0x90, 60})), "cut short inside a channel message"},
      {file(0, 480, track({0x90, 60, 0x90})), "missing data bytes"},
      {file(0, 480, track({0xF1, 0})), "status byte 0xF1"},
      {file(0, 480, track({0xF0, 0x05, 1, 2})), "cut short inside a SysEx event"},
      {file(0, 480, track({0xFF, 0x51, 0x02, 1, 2})), "tempo event must hold 3 bytes"},
      {file(0, 480, track({0xFF, 0x51, 0x03, 0, 0, 0})), "tempo of zero"},
      {file(0, 480, track({0xFF, 0x58, 0x04, 0, 2, 24, 8})), "impossible time signature"},
      {file(0, 480, TrackBytes().Raw({0x80, 0x80, 0x80, 0x80, 0x01})),
       "delta time is longer than four bytes"},
  };
  for (const auto& [bytes, reason] : cases) {
    EXPECT_NE(RefusalOf(bytes).find(reason), std::string::npos)
        << "expected \"" << reason << "\", got \"" << RefusalOf(bytes) << "\"";
  }
}

TEST(MidiFileReader, ErrorsNameTheFile) {
  EXPECT_THROW(ReadMidiFile("/nonexistent/song.mid"), RenderError);
  try {
    ReadMidiFile("/nonexistent/song.mid");
  } catch (const RenderError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("/nonexistent/song.mid: ", 0), 0u);
  }
}

// Broken input never reads outside the bytes (the sanitized build checks that) and is
// refused or read, never anything else.
TEST(MidiFileRobustness, EveryTruncationIsRefused) {
  const Bytes whole = EveryKindOfEvent();
  for (size_t length = 0; length < whole.size(); ++length) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(length));
    EXPECT_THROW(ParseMidiFile(cut), RenderError) << "length " << length;
  }
}

TEST(MidiFileRobustness, CorruptedBytesAreReadOrRefused) {
  const Bytes whole = EveryKindOfEvent();
  std::mt19937 random(7);
  std::uniform_int_distribution<size_t> position(0, whole.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int trial = 0; trial < 3000; ++trial) {
    Bytes bytes = whole;
    const int changes = 1 + trial % 8;
    for (int i = 0; i < changes; ++i) bytes[position(random)] = static_cast<uint8_t>(byte(random));
    try {
      const MidiFile song = ParseMidiFile(bytes);
      for (const MidiEvent& event : song.events) EXPECT_FALSE(event.bytes.empty());
    } catch (const RenderError&) {
    }
  }
}

TEST(MidiFileRobustness, GarbageBehindAHeaderIsRefused) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int trial = 0; trial < 500; ++trial) {
    Bytes bytes = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0, 96};
    for (int i = 0; i < 64; ++i) bytes.push_back(static_cast<uint8_t>(byte(random)));
    EXPECT_THROW(ParseMidiFile(bytes), RenderError);
  }
}
