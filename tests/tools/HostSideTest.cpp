// The renderer's host side, seen from a small plug-in that reports what its host did.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "tests/tools/SmfBytes.h"
#include "tests/tools/ToolRun.h"
#include "tools/render/MidiFileReader.h"

namespace {

// 3/4 at 120 beats per minute (50 samples a tick at 48 kHz), 100 from the second bar
// (60 samples a tick).
std::vector<uint8_t> Song() {
  TrackBytes conductor;
  conductor.Tempo(0, 500000).TimeSignature(0, 3, 2).Tempo(1440, 600000).End();
  TrackBytes notes;
  notes.Event(100, {0x90, 60, 100})
      .Event(240, {0x80, 60, 0})
      .Event(1160, {0x91, 62, 90})
      .Event(100, {0xB1, 1, 64})
      .Event(50, {0xE1, 0, 0x50})
      .Event(50, {0x81, 62, 0})
      .End();
  return SmfBytes(1, 480, {conductor, notes});
}

int64_t SampleOfTick(int tick) {
  return tick < 1440 ? tick * 50 : 72000 + (tick - 1440) * 60;
}

struct Gate {
  int64_t on;
  int64_t off;
};
const Gate kGates[] = {{SampleOfTick(100), SampleOfTick(340)},
                       {SampleOfTick(1500), SampleOfTick(1700)}};

std::vector<std::string> SysExTexts(const MidiFile& song) {
  std::vector<std::string> texts;
  for (const MidiEvent& event : song.events) {
    if (event.bytes.size() > 2 && event.bytes[0] == 0xF0) {
      texts.emplace_back(event.bytes.begin() + 2, event.bytes.end() - 1);
    }
  }
  return texts;
}

class HostSide : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = new TempFolder;
    WriteBytes(folder->Path("song.mid"), Song());
    const ToolResult result =
        RunTool({folder->Path("song.mid"), "--plugin", ECHO_PLUGIN_PATH, "--block-size", "100",
                 "--tail", "0.1", "--bits", "32", "-o", folder->Path("out.wav"), "--midi-out",
                 folder->Path("out.mid")});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    sent = new MidiFile(ReadMidiFile(folder->Path("out.mid")));
  }
  static void TearDownTestSuite() {
    delete sent;
    delete folder;
  }

  static inline TempFolder* folder = nullptr;
  static inline MidiFile* sent = nullptr;
};

}  // namespace

TEST_F(HostSide, EventsArriveAtTheirSamplesWhateverTheBlocks) {
  for (const std::vector<std::string>& blocks :
       {std::vector<std::string>{"--block-size", "100"},
        {"--block-size", "1"},
        {"--block-size", "8192"},
        {"--random-blocks", "--block-size", "300", "--seed", "5"},
        {"--random-blocks", "--block-size", "8192", "--seed", "9"}}) {
    std::vector<std::string> arguments = {folder->Path("song.mid"),
                                          "--plugin",
                                          ECHO_PLUGIN_PATH,
                                          "--tail",
                                          "0.1",
                                          "--bits",
                                          "32",
                                          "-o",
                                          folder->Path("blocks.wav")};
    arguments.insert(arguments.end(), blocks.begin(), blocks.end());
    const ToolResult result = RunTool(arguments);
    ASSERT_EQ(result.exitCode, 0) << result.output;
    const Audio audio = ReadAudio(folder->Path("blocks.wav"));
    // Up to the last event and 0.1 s after it.
    ASSERT_EQ(audio.left.size(), static_cast<size_t>(kGates[1].off + 1 + 4800)) << blocks[1];
    int wrong = 0;
    for (size_t i = 0; i < audio.left.size(); ++i) {
      const auto n = static_cast<int64_t>(i);
      const bool on =
          (n >= kGates[0].on && n < kGates[0].off) || (n >= kGates[1].on && n < kGates[1].off);
      if (audio.left[i] != (on ? 0.5 : 0.0) || audio.right[i] != (on ? 0.25 : 0.0)) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << blocks[1];
  }
}

TEST_F(HostSide, WhatThePluginSendsIsWrittenOnTheSongsTimeline) {
  std::vector<std::pair<uint64_t, std::vector<uint8_t>>> channel;
  for (const MidiEvent& event : sent->events) {
    if (event.IsChannelMessage()) channel.emplace_back(event.tick, event.bytes);
  }
  const std::vector<std::pair<uint64_t, std::vector<uint8_t>>> expected = {
      {100, {0x90, 60, 100}}, {340, {0x80, 60, 0}},    {1500, {0x91, 62, 90}},
      {1600, {0xB1, 1, 64}},  {1650, {0xE1, 0, 0x50}}, {1700, {0x81, 62, 0}}};
  EXPECT_EQ(channel, expected);
  EXPECT_EQ(sent->ticksPerQuarter, 480);
  ASSERT_EQ(sent->tempos.size(), 2u);
  EXPECT_EQ(sent->tempos[1].tick, 1440u);
  ASSERT_EQ(sent->signatures.size(), 1u);
  EXPECT_EQ(sent->signatures[0].numerator, 3);
}

TEST_F(HostSide, AnswersLikeAWellBehavedOfflineHost) {
  const std::vector<std::string> texts = SysExTexts(*sent);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0],
            "version=2400 level=4 rate=48000 block=100 vendor=Corvane Music "
            "product=Tarsyn7 Render cando=1");
}

TEST_F(HostSide, TransportFollowsTheTempoAndTimeSignatureMaps) {
  int blocks = 0;
  for (const std::string& text : SysExTexts(*sent)) {
    double position, ppq, tempo, bar;
    int numerator, denominator, flags;
    if (std::sscanf(text.c_str(), "pos=%lf ppq=%lf tempo=%lf bar=%lf sig=%d/%d flags=%d", &position,
                    &ppq, &tempo, &bar, &numerator, &denominator, &flags) != 7) {
      continue;
    }
    const bool slower = position >= 72000;
    const double expectedPpq = slower ? 3.0 + (position - 72000) / 28800 : position / 24000;
    EXPECT_NEAR(ppq, expectedPpq, 1e-5) << text;
    EXPECT_DOUBLE_EQ(tempo, slower ? 100.0 : 120.0) << text;
    EXPECT_NEAR(bar, std::floor(expectedPpq / 3.0 + 1e-9) * 3.0, 1e-5) << text;
    EXPECT_EQ(numerator, 3);
    EXPECT_EQ(denominator, 4);
    EXPECT_EQ(flags & 0x2E02, 0x2E02) << "playing; PPQ, tempo, bars, time signature valid";
    EXPECT_EQ(flags & 1, blocks == 0 ? 1 : 0) << "transport changed on the first block only";
    EXPECT_DOUBLE_EQ(position, blocks * 100.0);
    ++blocks;
  }
  EXPECT_EQ(blocks, (kGates[1].off + 1 + 4800 + 99) / 100);
}
