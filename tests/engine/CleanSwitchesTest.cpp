// A safe start and switches that leave nothing behind: what a finished release leaves is
// silence, whatever was switched in between.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/OutputStage.h"
#include "tests/engine/PlayingPlug.h"

namespace {

double Peak(const std::vector<double>& x) {
  double peak = 0.0;
  for (const double v : x) peak = std::max(peak, std::fabs(v));
  return peak;
}

void PlayChord(PlayingPlug& p, int first, int keys) {
  for (int k = 0; k < keys; ++k) p.NoteOn(first + k);
}

void ReleaseChord(PlayingPlug& p, int first, int keys) {
  for (int k = 0; k < keys; ++k) p.NoteOff(first + k);
}

}  // namespace

// A host may resume and render without ever sending a rate, a block size or a suspend.
TEST(CleanStart, NotesSoundBeforeTheFirstReset) {
  for (const double god : {0.0, 1.0}) {
    Tarsyn7 plug{nullptr};
    plug.ActivationChanged(true);
    plug.SetParameterFromEditor(kGodMode, god);
    plug.HandleMidiMessage({0, 0x90, 60, 100});
    std::vector<double> left(4410), right(4410);
    double* outputs[] = {left.data(), right.data()};
    plug.RenderBlock(nullptr, outputs, 4410);
    EXPECT_GT(Peak(left), 0.01) << "God Mode " << god;
    EXPECT_TRUE(std::all_of(left.begin(), left.end(), [](double v) { return std::isfinite(v); }));
  }
}

TEST(CleanSwitches, GodModeLeavesNoFrozenFilterBehind) {
  for (const double noise : {0.0, 10.0}) {
    PlayingPlug p;
    p.Set(kNoiseLevel, noise);
    p.Set(kVcfResonance, 10);
    p.Set(kDeg3Release, 20);
    PlayChord(p, 60, 3);
    p.Render(4410);
    p.Set(kGodMode, 1);  // the shared filter is in mid-note here
    ReleaseChord(p, 60, 3);
    p.Render(88200);
    p.Set(kGodMode, 0);
    EXPECT_LT(Peak(p.Render(22050)), 1e-9) << "noise " << noise;
  }
  // The other way: a voice's own filter in mid-note when the shared one takes over.
  PlayingPlug p;
  p.Set(kVcfResonance, 10);
  p.Set(kGodMode, 1);
  p.NoteOn(60);
  p.Render(4410);
  p.Set(kGodMode, 0);
  EXPECT_FALSE(p.VoiceAt(0).OwnFilterVcf().IsRinging());
}

// Voices beyond a lowered count release like all others and never come back by themselves.
TEST(CleanSwitches, LoweredVoiceCountReleasesAndLeavesNoGhosts) {
  for (const int mode : {0, 1}) {  // through "Voices", then through "DCO Mode"
    PlayingPlug p;
    p.Set(kDeg1Release, 22);
    p.Set(kDeg2Release, 22);
    if (mode == 0) p.Set(kVoices, 1);
    const int keys = mode == 0 ? 12 : 8;
    PlayChord(p, 60, keys);
    p.Render(4410);
    const double held = p.VoiceAt(keys - 1).Deg1().Level();
    if (mode == 0) {
      p.Set(kVoices, 0);
    } else {
      p.Set(kDcoMode, 2);
    }
    p.Render(2205);
    const double releasing = p.VoiceAt(keys - 1).Deg1().Level();
    EXPECT_LT(releasing, held) << "mode " << mode;        // fading, not frozen
    EXPECT_GT(releasing, 0.5 * held) << "mode " << mode;  // and not cut
    ReleaseChord(p, 60, keys);
    p.Render(4 * 44100);
    EXPECT_LT(Peak(p.Render(4410)), 1e-9);
    if (mode == 0) {
      p.Set(kVoices, 1);
    } else {
      p.Set(kDcoMode, 1);
    }
    EXPECT_LT(Peak(p.Render(22050)), 1e-9) << "mode " << mode;
  }
}

TEST(CleanSwitches, BassCutStartsCleanAfterTheFilterPathRested) {
  OutputStage stage;
  stage.SetVolume(1.0);
  stage.SetGainBoost(true);
  stage.SetBrightness(true);
  double left = 0.0;
  double right = 0.0;
  for (int i = 0; i < 100; ++i) stage.Process(1.0, true, left, right);
  stage.Process(0.0, false, left, right);  // the path rests
  stage.Process(0.0, true, left, right);   // and runs again, with silence
  EXPECT_LT(std::fabs(left), 1e-9);
}
