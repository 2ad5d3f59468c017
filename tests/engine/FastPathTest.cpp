// The fast renderer (sounding voices only, a run of samples at a time, filters side by side)
// against the plain one that renders every voice one sample at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/Lanes.h"
#include "tests/engine/PlayingPlug.h"

namespace {

struct Setting {
  int index;
  double plain;
};

// A busy performance: chords with staggered starts and releases, a voice stolen, the
// sustain pedal, wheel and bend, the cutoff gliding down and up, in blocks of uneven size.
std::vector<double> Perform(const std::vector<Setting>& settings, bool plain) {
  PlayingPlug p(48000.0, 512);
  p.plug.SetOneVoiceAtATime(plain);
  for (const Setting& setting : settings) p.Set(setting.index, setting.plain);
  std::vector<double> out;
  for (int block = 0; block < 60; ++block) {
    const int size = block % 3 == 0 ? 512 : 173 + block;
    if (block < 24) p.NoteOn(36 + (block * 7) % 40, 60 + block, (block * 37) % size);
    if (block > 6 && block % 2 == 0) p.NoteOff(36 + ((block - 6) * 7) % 40, (block * 11) % size);
    if (block % 5 == 0) p.Send(block % size, 0xB0, 1, block * 2);
    if (block % 4 == 1) p.Send(3, 0xE0, 0, 40 + block);
    if (block == 30) p.Send(0, 0xB0, 64, 127);
    if (block == 40) p.Send(100, 0xB0, 64, 0);
    if (block == 20 || block == 35) p.Set(kVcfCutoff, block == 20 ? 25 : 90);
    p.Render(size);
    out.insert(out.end(), p.left.begin(), p.left.end());
    out.insert(out.end(), p.right.begin(), p.right.end());
  }
  return out;
}

}  // namespace

TEST(FastPath, RendersWhatThePlainPathRenders) {
  const std::vector<std::vector<Setting>> performances = {
      {},
      {{kVoices, 1}, {kGodMode, 1}, {kDcoMode, 2}, {kChorus, 0.6}, {kNoiseLevel, 8}},
      {{kVoices, 1}, {kGodMode, 1}, {kLegacyMode, 0}, {kVcfResonance, 12}, {kNoiseLevel, 5}},
      {{kVoices, 1}, {kLegacyMode, 0}, {kDcoMode, 2}, {kNoiseLevel, 15}, {kMgVcf, 9}},
      {{kGodMode, 1}, {kVcfEgIntensity, 15}, {kDeg3Decay, 12}, {kDeg3Sustain, 0}, {kMgDco, 5}},
      {{kVoices, 1},
       {kGodMode, 1},
       {kDcoMode, 2},
       {kNoiseLevel, 10},
       {kDco1Foot8, 0},
       {kDeg1Attack, 6},
       {kDeg2Slope, 3},
       {kDeg2BreakPoint, 10},
       {kDeg3Release, 20}},
  };
  // Both widths of lanes, whatever this processor has.
  for (bool wide : {true, false}) {
    AllowWideLanes(wide);
    for (size_t i = 0; i < performances.size(); ++i) {
      const std::vector<double> fast = Perform(performances[i], false);
      const std::vector<double> plain = Perform(performances[i], true);
      double peak = 0.0;
      double difference = 0.0;
      for (size_t n = 0; n < plain.size(); ++n) {
        peak = std::max(peak, std::fabs(plain[n]));
        difference = std::max(difference, std::fabs(fast[n] - plain[n]));
      }
      EXPECT_GT(peak, 0.05) << "performance " << i;
      EXPECT_LE(difference, 1e-9 * peak) << "performance " << i << (wide ? " wide" : " narrow");
    }
  }
  AllowWideLanes(true);
}
