#include <gtest/gtest.h>

#include "tools/render/MidiFileReader.h"
#include "tools/render/MidiFileWriter.h"

TEST(MidiFileWriter, WhatItWritesReadsBackTheSame) {
  MidiFile song;
  song.ticksPerQuarter = 960;
  song.tempos = {{0, 500000}, {1920, 750000}};
  song.signatures = {{0, 4, 4}, {3840, 7, 8}};
  song.events = {{0, {0x90, 60, 100}},     {0, {0xC0, 3}}, {10, {0xF0, 0x43, 0x10, 0x4C, 0xF7}},
                 {10, {0xE2, 0x7F, 0x7F}}, {2000, {0xF8}}, {0x0FFFFFFF, {0x80, 60, 0}}};
  const MidiFile back = ParseMidiFile(EncodeMidiFile(song));
  EXPECT_EQ(back.format, 0);
  EXPECT_EQ(back.ticksPerQuarter, 960);
  ASSERT_EQ(back.events.size(), song.events.size());
  for (size_t i = 0; i < song.events.size(); ++i) {
    EXPECT_EQ(back.events[i].tick, song.events[i].tick) << i;
    EXPECT_EQ(back.events[i].bytes, song.events[i].bytes) << i;
  }
  ASSERT_EQ(back.tempos.size(), 2u);
  EXPECT_EQ(back.tempos[1].tick, 1920u);
  EXPECT_EQ(back.tempos[1].microsecondsPerQuarter, 750000u);
  ASSERT_EQ(back.signatures.size(), 2u);
  EXPECT_EQ(back.signatures[1].tick, 3840u);
  EXPECT_EQ(back.signatures[1].numerator, 7);
  EXPECT_EQ(back.signatures[1].denominator, 8);
}

TEST(MidiFileWriter, AnEmptySongIsStillAFile) {
  const MidiFile back = ParseMidiFile(EncodeMidiFile(MidiFile{}));
  EXPECT_TRUE(back.events.empty());
}

// A delta time holds at most 28 bits; longer gaps are bridged so the file reads back.
TEST(MidiFileWriter, GapsBeyondTheLongestDeltaTimeReadBack) {
  MidiFile song;
  song.events = {{0, {0x90, 60, 100}}, {536870910, {0x80, 60, 0}}, {3ull << 32, {0xC0, 1}}};
  const MidiFile back = ParseMidiFile(EncodeMidiFile(song));
  ASSERT_EQ(back.events.size(), song.events.size());
  for (size_t i = 0; i < song.events.size(); ++i) {
    EXPECT_EQ(back.events[i].tick, song.events[i].tick) << i;
    EXPECT_EQ(back.events[i].bytes, song.events[i].bytes) << i;
  }
}
