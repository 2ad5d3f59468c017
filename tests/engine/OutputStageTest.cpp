#include "engine/OutputStage.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRate = 44100.0;
constexpr int kTickSamples = 44;
constexpr double kChorusBase = 0.04;  // current calibration
constexpr double kChorusDepth = 0.75 * 0.2;
constexpr double kChorusRate = 0.0169;

void SetUpChorus(Chorus& chorus) {
  chorus.SetBase(kChorusBase);
  chorus.SetDepth(kChorusDepth);
  chorus.SetRate(kChorusRate);
}

OutputStage MakeStage(double volume, bool gainBoost) {
  OutputStage stage;
  stage.SetSampleRate(kRate);
  SetUpChorus(stage.GetChorus());
  stage.SetVolume(volume);
  stage.SetGainBoost(gainBoost);
  return stage;
}

double Noise(int i) {
  return std::sin(i * 0.37) * std::cos(i * 1.91) + 0.3 * std::sin(i * 0.05);
}

TEST(OutputStageGain, ChorusOffGivesBothChannelsTheScaledInput) {
  struct Case {
    double volume;
    bool gainBoost;
    double gain;
  };
  for (const Case& c : {Case{0.8, true, 0.8}, Case{0.8, false, 0.4}, Case{1.0, false, 0.5}}) {
    OutputStage stage = MakeStage(c.volume, c.gainBoost);
    for (int i = 0; i < 500; ++i) {
      double left = 0.0, right = 0.0;
      stage.Process(Noise(i), true, left, right);
      EXPECT_DOUBLE_EQ(left, Noise(i) * c.gain);
      EXPECT_DOUBLE_EQ(right, left);
    }
  }
}

TEST(OutputStageGain, GainBoostDoublesWithoutTouchingVolume) {
  OutputStage stage = MakeStage(0.6, false);
  double off = 0.0, on = 0.0, right = 0.0;
  stage.Process(1.0, true, off, right);
  stage.SetGainBoost(true);
  stage.Process(1.0, true, on, right);
  EXPECT_DOUBLE_EQ(on, 2.0 * off);
  EXPECT_DOUBLE_EQ(on, 0.6);
}

TEST(OutputStageGain, IdleFilterSectionBypassesGainAndBassCut) {
  OutputStage stage = MakeStage(0.25, false);
  stage.SetBrightness(true);
  double left = 0.0, right = 0.0;
  stage.Process(0.3, false, left, right);
  EXPECT_EQ(left, 0.3);
  EXPECT_EQ(right, 0.3);
}

TEST(OutputStageChorus, StereoSplitsDryAndWet) {
  OutputStage stage = MakeStage(0.8, true);
  stage.SetChorusOn(true);
  stage.SetStereoChorus(true);
  Chorus reference;  // same chorus fed the expected dry part
  reference.SetSampleRate(kRate, kChorusLineSeconds);
  SetUpChorus(reference);
  double wetEnergy = 0.0;
  for (int i = 0; i < 4000; ++i) {
    if (i % kTickSamples == 0) {
      stage.GetChorus().TickLfo();
      reference.TickLfo();
    }
    const double dry = Noise(i) * 0.8 * std::sqrt(0.5);
    const double wet = reference.Process(dry);
    double left = 0.0, right = 0.0;
    stage.Process(Noise(i), true, left, right);
    EXPECT_NEAR(left + right, 2.0 * dry, 1e-12);
    EXPECT_NEAR(left - right, 2.0 * wet, 1e-12);
    wetEnergy += wet * wet;
  }
  EXPECT_GT(wetEnergy, 10.0);  // the wet part is really there
}

TEST(OutputStageChorus, MonoChorusPutsTheSameSumOnBothChannels) {
  OutputStage stage = MakeStage(1.0, true);
  stage.SetChorusOn(true);
  double differences = 0.0, level = 0.0;
  for (int i = 0; i < 2000; ++i) {
    if (i % kTickSamples == 0) stage.GetChorus().TickLfo();
    double left = 0.0, right = 0.0;
    stage.Process(Noise(i), true, left, right);
    EXPECT_EQ(left, right);
    differences += std::fabs(left - Noise(i));
    level += std::fabs(left);
  }
  EXPECT_GT(differences, 0.1 * level);  // not the plain input
}

TEST(OutputStageChorus, TailSoundsOnWhileTheFilterSectionIsIdle) {
  OutputStage stage = MakeStage(1.0, true);
  stage.SetChorusOn(true);
  double left = 0.0, right = 0.0;
  stage.Process(1.0, true, left, right);
  double tail = 0.0;
  for (int i = 0; i < 2000; ++i) {
    stage.Process(0.0, false, left, right);
    tail = std::max(tail, std::fabs(left));
  }
  EXPECT_GT(tail, 0.05);
}

TEST(OutputStageChorus, RateTooLowForTheLineLeavesOnlyTheDryPart) {
  OutputStage stage = MakeStage(1.0, true);
  stage.SetSampleRate(20.0);
  stage.SetChorusOn(true);
  stage.SetStereoChorus(true);
  for (int i = 0; i < 100; ++i) {
    stage.GetChorus().TickLfo();
    double left = 0.0, right = 0.0;
    stage.Process(Noise(i), true, left, right);
    EXPECT_DOUBLE_EQ(left, Noise(i) * std::sqrt(0.5));
    EXPECT_DOUBLE_EQ(right, left);
  }
}

// Output level of a tone relative to its input, after the bass cut has settled.
double ToneGain(bool brightness, double hertz) {
  OutputStage stage = MakeStage(1.0, true);
  stage.SetBrightness(brightness);
  const int samples = static_cast<int>(kRate);
  double in = 0.0, out = 0.0;
  for (int i = 0; i < samples; ++i) {
    const double x = std::sin(2.0 * kPi * hertz * i / kRate);
    double left = 0.0, right = 0.0;
    stage.Process(x, true, left, right);
    if (i >= samples / 2) {
      in += x * x;
      out += left * left;
    }
  }
  return std::sqrt(out / in);
}

TEST(OutputStageBrightness, RemovesDeepBassAndKeepsTheMidrange) {
  EXPECT_LT(ToneGain(true, 10.0), 0.1);
  EXPECT_NEAR(ToneGain(true, 1000.0), 1.0, 0.01);
  EXPECT_NEAR(ToneGain(false, 10.0), 1.0, 1e-9);
}

}  // namespace
