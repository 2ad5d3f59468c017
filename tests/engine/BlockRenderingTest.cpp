#include <gtest/gtest.h>

#include <cmath>

#include "tests/engine/PlayingPlug.h"
#include "tests/engine/SignalAnalysis.h"

namespace {

struct TimedNote {
  int sample;
  int status;
  int key;
  int velocity;
};

// Plays the notes at absolute sample positions, cutting the render into blocks of the
// given sizes; each block gets the events that fall inside it.
std::vector<double> PlayInBlocks(PlayingPlug& p, const std::vector<TimedNote>& notes, int frames,
                                 const std::vector<int>& sizes) {
  std::vector<double> all;
  for (size_t b = 0; static_cast<int>(all.size()) < frames; ++b) {
    const int start = static_cast<int>(all.size());
    const int size = std::min(sizes[b % sizes.size()], frames - start);
    for (const TimedNote& note : notes) {
      if (note.sample >= start && note.sample < start + size) {
        p.Send(note.sample - start, note.status, note.key, note.velocity);
      }
    }
    const std::vector<double> block = p.Render(size);
    all.insert(all.end(), block.begin(), block.end());
  }
  return all;
}

void SustainAtHalf(PlayingPlug& p) {
  p.Set(kDeg1Sustain, 15);
  p.Set(kDeg1Decay, 10);
  p.Set(kDeg1Release, 10);
}

}  // namespace

TEST(BlockRendering, ChunksEndAtControlTicks) {
  PlayingPlug p;
  EXPECT_EQ(p.plug.ControlCounter(), 0);
  p.Render(100);  // 44, 44, 12
  EXPECT_EQ(p.plug.ControlCounter(), 32);
  p.Render(32);  // the rest of the period, no tick
  EXPECT_EQ(p.plug.ControlCounter(), 0);
  p.Render(0);
  EXPECT_EQ(p.plug.ControlCounter(), 0);
}

TEST(BlockRendering, NoteOnTakesEffectAtItsOwnSample) {
  PlayingPlug p;
  p.NoteOn(60, 100, 50);
  p.Render(50);
  EXPECT_TRUE(p.VoiceAt(0).Deg1().IsIdle());
  p.Render(1);
  EXPECT_FALSE(p.VoiceAt(0).Deg1().IsIdle());
}

TEST(BlockRendering, NoteInABlockThatStartsMidPeriodIsNotLate) {
  PlayingPlug p;
  p.Render(100);  // the next block begins 32 samples before a tick
  p.NoteOn(60, 100, 10);
  p.Render(10);
  EXPECT_TRUE(p.VoiceAt(0).Deg1().IsIdle());
  p.Render(1);
  EXPECT_FALSE(p.VoiceAt(0).Deg1().IsIdle());
}

TEST(BlockRendering, EveryBlockPatternRendersTheSameSamples) {
  const std::vector<TimedNote> notes = {
      {0, 0x90, 60, 100},    {700, 0x90, 64, 90},   {1234, 0x80, 60, 0},
      {1500, 0xB0, 64, 127}, {1777, 0x80, 64, 0},   {2001, 0x90, 60, 80},
      {2600, 0xB0, 64, 0},   {3003, 0x90, 60, 110}, {3333, 0x80, 60, 0}};
  std::vector<std::vector<double>> renders;
  for (const std::vector<int>& sizes : {std::vector<int>{512}, std::vector<int>{100},
                                        std::vector<int>{37}, std::vector<int>{1, 300, 7, 64}}) {
    PlayingPlug p;
    SustainAtHalf(p);
    renders.push_back(PlayInBlocks(p, notes, 4000, sizes));
  }
  for (size_t i = 1; i < renders.size(); ++i) {
    for (size_t s = 0; s < renders[0].size(); ++s) {
      ASSERT_EQ(renders[i][s], renders[0][s]) << "pattern " << i << " sample " << s;
    }
  }
}

TEST(BlockRendering, ReStruckKeyChangesTheSoundFromExactlyItsSample) {
  constexpr int kReStrike = 3000;
  for (const std::vector<int>& sizes :
       {std::vector<int>{512}, std::vector<int>{100}, std::vector<int>{37}}) {
    PlayingPlug plain;
    PlayingPlug struck;
    SustainAtHalf(plain);
    SustainAtHalf(struck);
    const std::vector<double> a = PlayInBlocks(plain, {{0, 0x90, 60, 100}}, 4000, sizes);
    const std::vector<double> b =
        PlayInBlocks(struck, {{0, 0x90, 60, 100}, {kReStrike, 0x90, 60, 100}}, 4000, sizes);
    int first = -1;
    for (int s = 0; s < 4000 && first < 0; ++s) {
      if (a[static_cast<size_t>(s)] != b[static_cast<size_t>(s)]) first = s;
    }
    EXPECT_EQ(first, kReStrike) << sizes[0];
  }
}

TEST(BlockRendering, PitchBendFollowsTheBendRange) {
  PlayingPlug p;
  p.Send(0, 0xE0, 0, 64);
  p.Render(1);
  EXPECT_EQ(p.plug.Performance().pitchBendOffset, 0.0);
  p.Send(0, 0xE0, 127, 127);
  p.Render(50);
  EXPECT_DOUBLE_EQ(p.plug.Performance().pitchBendOffset, 8191.0 / 8192.0 * 256.0);
  p.Set(kBend, 12);
  p.Send(0, 0xE0, 0, 0);
  p.Render(50);
  EXPECT_DOUBLE_EQ(p.plug.Performance().pitchBendOffset, -12.0 * 128.0);
}

TEST(BlockRendering, UnboundControllerChangesNothingAndLearnedOneMovesItsParameter) {
  PlayingPlug p;
  const double cutoff = p.plug.GetParameter(kVcfCutoff)->Value();
  p.Send(0, 0xB0, 7, 0);
  p.Render(50);
  EXPECT_EQ(p.plug.GetParameter(kVcfCutoff)->Value(), cutoff);
  p.plug.Learn().Bind(7, kVcfCutoff);
  p.Send(0, 0xB0, 7, 0);
  p.Render(50);
  EXPECT_EQ(p.plug.GetParameter(kVcfCutoff)->Value(), 0.0);
}

TEST(BlockRenderingSound, HeldNoteSoundsAtItsPitchInBothFilterModes) {
  for (const double god : {0.0, 1.0}) {
    PlayingPlug p;
    p.Set(kGodMode, god);
    p.Set(kDco1Octave, 3);
    p.Set(kDco1Foot8, 0);
    p.Set(kDco1Foot4, 0);
    p.Set(kDco1Foot2, 0);
    p.NoteOn(69);
    p.Render(4410);
    const double frequency = signal_analysis::MeasureFrequency(p.Render(44100), 44100.0);
    EXPECT_NEAR(frequency, 440.0, 0.5) << "God Mode " << god;
  }
}

TEST(BlockRenderingSound, ReleasedNoteFallsSilentAndDeactivates) {
  PlayingPlug p;
  p.Set(kDeg1Release, 5);
  p.NoteOn(60);
  p.Render(2000);
  p.NoteOff(60);
  p.Render(44100);
  const std::vector<double> tail = p.Render(1000);
  for (double sample : tail) EXPECT_LT(std::fabs(sample), 1e-9);
  EXPECT_FALSE(p.VoiceAt(0).Active());
}

TEST(BlockRenderingSound, AttackShapesTheAmplitude) {
  PlayingPlug p;
  p.Set(kDeg1Attack, 20);
  p.NoteOn(60);
  const std::vector<double> sound = p.Render(44100);
  const auto peak = [&](size_t from) {
    double m = 0.0;
    for (size_t s = from; s < from + 441; ++s) m = std::max(m, std::fabs(sound[s]));
    return m;
  };
  EXPECT_LT(peak(441), peak(4410));
  EXPECT_LT(peak(4410), peak(40000));
}

// Counts the MG's triangle cycles from the pitch of a held note.
TEST(BlockRenderingSound, LegacyVibratoRunsAtTheMgRate) {
  constexpr double kRate = 44100.0;
  PlayingPlug p(kRate);
  p.Set(kMgFrequency, 7);
  p.Set(kMgDco, 15);
  p.Set(kDco1Foot8, 0);
  p.Set(kDco1Foot4, 0);
  p.Set(kDco1Foot2, 0);
  p.NoteOn(69);
  const std::vector<double> sound = p.Render(2 * 44100);
  // Period lengths between rising zero crossings rise and fall with the vibrato.
  std::vector<double> crossings;
  for (size_t n = 1; n < sound.size(); ++n) {
    if (sound[n - 1] < 0.0 && sound[n] >= 0.0) crossings.push_back(static_cast<double>(n));
  }
  std::vector<double> periods;
  for (size_t i = 1; i < crossings.size(); ++i) periods.push_back(crossings[i] - crossings[i - 1]);
  double mean = 0.0;
  for (double period : periods) mean += period;
  mean /= static_cast<double>(periods.size());
  int swings = 0;
  for (size_t i = 1; i < periods.size(); ++i) {
    if (periods[i - 1] < mean && periods[i] >= mean) ++swings;
  }
  const double tickRate = kRate / 44.0;
  const double expected = 5.0 * tickRate / 1000.0 * 2.0;  // cycles in two seconds
  EXPECT_NEAR(swings, expected, 1.0);
}

TEST(BlockRenderingSound, LegacyMgDelayHoldsThenRamps) {
  PlayingPlug p;
  p.Set(kMgDelay, 15);  // 1.364 s
  p.Set(kMgDco, 15);
  p.NoteOn(60);
  p.Render(1);
  for (int tick = 0; tick < 1250; ++tick) {
    p.Render(44);
    ASSERT_EQ(p.plug.Mg().Phase(), 0.5) << tick;  // centred for the first 95 %
  }
  p.Render(44 * 60);
  EXPECT_NE(p.plug.Mg().Phase(), 0.5);
}

TEST(BlockRenderingSound, MgAndWheelGiveVibratoInBothCalibrations) {
  for (const bool wheel : {false, true})
    for (const double legacy : {0.0, 1.0}) {
      PlayingPlug p;
      p.Set(kLegacyMode, legacy);
      p.Set(kDco1Octave, 3);
      if (wheel) {
        p.Set(kModWheelToDco, 1.0);
        p.Send(0, 0xB0, 1, 127);
      } else {
        p.Set(kMgDco, 15);
      }
      p.NoteOn(69);
      p.Render(4410);
      double lowest = 1e9;
      double highest = 0.0;
      for (int window = 0; window < 20; ++window) {
        const double f = signal_analysis::MeasureFrequency(p.Render(2205), 44100.0);
        lowest = std::min(lowest, f);
        highest = std::max(highest, f);
      }
      EXPECT_GT(highest / lowest, 1.5) << (wheel ? "wheel" : "MG") << " legacy " << legacy;
    }
}
