#include <gtest/gtest.h>

#include "tools/render/Timeline.h"

namespace {

MidiFile Song(std::vector<TempoChange> tempos, std::vector<TimeSignatureChange> signatures = {}) {
  MidiFile song;
  song.ticksPerQuarter = 480;
  song.tempos = std::move(tempos);
  song.signatures = std::move(signatures);
  return song;
}

}  // namespace

TEST(Timeline, TempoChangesMoveEverythingAfterThem) {
  // 120 beats per minute for two beats, then 100.
  const Timeline timeline(Song({{0, 500000}, {960, 600000}}), 48000.0);
  EXPECT_EQ(timeline.SampleOfTick(0), 0);
  EXPECT_EQ(timeline.SampleOfTick(480), 24000);
  EXPECT_EQ(timeline.SampleOfTick(960), 48000);
  EXPECT_EQ(timeline.SampleOfTick(1440), 76800);
  EXPECT_EQ(timeline.SampleOfTick(1), 50);
  EXPECT_EQ(timeline.SampleOfTick(961), 48060);
  const TransportPosition position = timeline.PositionAt(76800);
  EXPECT_NEAR(position.ppq, 3.0, 1e-12);
  EXPECT_DOUBLE_EQ(position.tempo, 100.0);
  EXPECT_DOUBLE_EQ(timeline.PositionAt(47999).tempo, 120.0);
}

TEST(Timeline, WithoutATempoItIs120AndTheLastChangeAtATickHolds) {
  EXPECT_EQ(Timeline(Song({}), 44100.0).SampleOfTick(480), 22050);
  const Timeline timeline(Song({{0, 1000000}, {0, 250000}}), 1000.0);
  EXPECT_EQ(timeline.SampleOfTick(480), 250);
  EXPECT_DOUBLE_EQ(timeline.PositionAt(0).tempo, 240.0);
}

TEST(Timeline, BarsFollowTheTimeSignatures) {
  // Two bars of 3/4, then 6/8 (bars of three quarters from quarter 6).
  const Timeline timeline(Song({{0, 500000}}, {{0, 3, 4}, {2880, 6, 8}}), 48000.0);
  auto at = [&](double ppq) { return timeline.PositionAt(static_cast<int64_t>(ppq * 24000)); };
  EXPECT_DOUBLE_EQ(at(0.0).barStart, 0.0);
  EXPECT_DOUBLE_EQ(at(2.9).barStart, 0.0);
  EXPECT_DOUBLE_EQ(at(3.0).barStart, 3.0);
  EXPECT_DOUBLE_EQ(at(4.5).barStart, 3.0);
  EXPECT_EQ(at(4.5).numerator, 3);
  EXPECT_DOUBLE_EQ(at(7.0).barStart, 6.0);
  EXPECT_EQ(at(7.0).numerator, 6);
  EXPECT_EQ(at(7.0).denominator, 8);
  EXPECT_DOUBLE_EQ(at(9.5).barStart, 9.0);
}

TEST(Timeline, SmpteFilesCountSecondsWhateverTheTempo) {
  MidiFile song = Song({{0, 250000}});
  song.ticksPerSecond = 1000.0;
  const Timeline timeline(song, 48000.0);
  EXPECT_EQ(timeline.SampleOfTick(500), 24000);
  EXPECT_NEAR(timeline.PositionAt(48000).ppq, 4.0, 1e-12);  // 240 beats per minute
  EXPECT_NEAR(timeline.PpqOfTick(250), 1.0, 1e-12);
}
