// Every parameter at one end of its range or the other, at several sample rates, with
// all voices sounding: the output must stay finite.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/engine/PlayingPlug.h"

namespace {

void SetExtremes(PlayingPlug& p, std::mt19937& random) {
  for (int index = 0; index < kFirstReserved; ++index) {
    const Parameter* parameter = p.plug.GetParameter(index);
    p.Set(index, random() % 2 ? parameter->Maximum() : parameter->Minimum());
  }
  p.Set(kVcfResonance, 15);
  p.Set(kVoices, 1);
  p.Set(kVolume, 1);
}

}  // namespace

TEST(ExtremeSettings, OutputStaysFinite) {
  std::mt19937 random(7);
  for (const double rate : {22050.0, 44100.0, 96000.0, 192000.0}) {
    for (int setting = 0; setting < 6; ++setting) {
      PlayingPlug p(rate, 256);
      SetExtremes(p, random);
      for (int key = 0; key < 64; ++key) p.NoteOn(key * 2, 127, key);
      p.Send(10, 0xB0, 1, 127);
      p.Send(20, 0xE0, 127, 127);
      const std::vector<double> sound = p.RenderInBlocks(static_cast<int>(rate / 20), {256});
      for (size_t s = 0; s < sound.size(); ++s) {
        ASSERT_TRUE(std::isfinite(sound[s]) && std::isfinite(p.right[s % p.right.size()]))
            << "rate " << rate << " setting " << setting << " sample " << s;
      }
      for (int key = 0; key < 64; ++key) p.NoteOff(key * 2);
      for (double sample : p.RenderInBlocks(static_cast<int>(rate / 20), {256})) {
        ASSERT_TRUE(std::isfinite(sample)) << "rate " << rate << " setting " << setting;
      }
    }
  }
}
