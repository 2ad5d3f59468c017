#include "engine/Chorus.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kRate = 48000;
constexpr int kTickSamples = kRate / 1000;
constexpr double kSamplesPerMs = kRate / 1000.0;
constexpr int kImpulseSpacing = 45 * kRate / 1000;  // longer than the longest delay

Chorus MakeChorus(double base, double depth, double lfoRate) {
  Chorus chorus;
  chorus.SetSampleRate(kRate, kChorusLineSeconds);
  chorus.SetBase(base);
  chorus.SetDepth(depth);
  chorus.SetRate(lfoRate);
  chorus.TickLfo();
  return chorus;
}

// Runs `input` through the chorus, ticking the LFO once per millisecond like the
// block processor does at 48 kHz.
std::vector<double> Render(Chorus& chorus, const std::vector<double>& input) {
  std::vector<double> wet(input.size());
  for (size_t i = 0; i < input.size(); ++i) {
    if (i > 0 && i % kTickSamples == 0) chorus.TickLfo();
    wet[i] = chorus.Process(input[i]);
  }
  return wet;
}

// Sends one impulse per spacing and returns, per impulse, the milliseconds until
// its strongest echo.
std::vector<double> MeasureDelaysMs(Chorus& chorus, int impulses) {
  std::vector<double> input(static_cast<size_t>(impulses) * kImpulseSpacing, 0.0);
  for (int k = 0; k < impulses; ++k) input[static_cast<size_t>(k) * kImpulseSpacing] = 1.0;
  const std::vector<double> wet = Render(chorus, input);
  std::vector<double> delays;
  for (int k = 0; k < impulses; ++k) {
    const size_t start = static_cast<size_t>(k) * kImpulseSpacing;
    size_t peak = start;
    for (size_t i = start; i < start + kImpulseSpacing; ++i) {
      if (std::fabs(wet[i]) > std::fabs(wet[peak])) peak = i;
    }
    delays.push_back((peak - start) / kSamplesPerMs);
  }
  return delays;
}

double Rms(const std::vector<double>& x, size_t from) {
  double sum = 0.0;
  for (size_t i = from; i < x.size(); ++i) sum += x[i] * x[i];
  return std::sqrt(sum / (x.size() - from));
}

std::vector<double> Sine(double hertz, int samples) {
  std::vector<double> x(samples);
  for (int i = 0; i < samples; ++i) x[i] = std::sin(2.0 * kPi * hertz * i / kRate);
  return x;
}

TEST(ChorusDelay, RestsAtBaseWithoutDepth) {
  struct Case {
    double base;
    double expectedMs;
  };
  for (const Case& c : {Case{0.04, 6.4}, Case{0.36, 17.6}}) {
    Chorus chorus = MakeChorus(c.base, 0.0, 0.02);
    for (double delay : MeasureDelaysMs(chorus, 6)) EXPECT_NEAR(delay, c.expectedMs, 0.15);
  }
}

TEST(ChorusDelay, FullSweepStaysWithinFiveToFortyMs) {
  Chorus chorus = MakeChorus(0.0, 1.0, 0.001);  // one LFO cycle per 2 s
  const std::vector<double> delays = MeasureDelaysMs(chorus, 50);
  double shortest = delays[0], longest = delays[0];
  for (double d : delays) {
    shortest = std::min(shortest, d);
    longest = std::max(longest, d);
  }
  EXPECT_GE(shortest, 4.9);
  EXPECT_LT(shortest, 5.6);
  EXPECT_GT(longest, 39.0);
  EXPECT_LE(longest, 40.2);
}

TEST(ChorusDelay, OutOfRangeSettingsKeepTheClockWithinLimits) {
  for (double base : {-2.0, 3.0, std::numeric_limits<double>::quiet_NaN()}) {
    Chorus chorus = MakeChorus(base, 4.0, 0.01);
    for (double delay : MeasureDelaysMs(chorus, 10)) {
      EXPECT_GE(delay, 4.9);
      EXPECT_LE(delay, 40.2);
    }
  }
}

TEST(ChorusLfo, PeriodIsTwoOverRateTicks) {
  const double lfoRate = 0.005;  // 400 ticks = 400 ms at 48 kHz
  Chorus chorus = MakeChorus(0.0, 1.0, lfoRate);
  const std::vector<double> delays = MeasureDelaysMs(chorus, 40);
  const double middle = 22.5;
  std::vector<double> risingMs;
  for (size_t k = 1; k < delays.size(); ++k) {
    if (delays[k - 1] < middle && delays[k] >= middle) {
      const double fraction = (middle - delays[k - 1]) / (delays[k] - delays[k - 1]);
      risingMs.push_back((k - 1 + fraction) * kImpulseSpacing / kSamplesPerMs);
    }
  }
  ASSERT_GE(risingMs.size(), 3u);
  for (size_t i = 1; i < risingMs.size(); ++i) {
    EXPECT_NEAR(risingMs[i] - risingMs[i - 1], 2.0 / lfoRate, 8.0);
  }
}

TEST(ChorusSignal, PassesMidrangeAndDampsTheTop) {
  Chorus chorus = MakeChorus(0.04, 0.0, 0.02);
  const double midrange = Rms(Render(chorus, Sine(1000.0, kRate / 10)), kRate / 20);
  EXPECT_NEAR(midrange, std::sqrt(0.5), 0.05);
  chorus = MakeChorus(0.04, 0.0, 0.02);
  const double top = Rms(Render(chorus, Sine(16000.0, kRate / 10)), kRate / 20);
  EXPECT_LT(top, 0.25 * midrange);
}

// Share of the signal (after the first `from` samples) that is not a sine at `hertz`.
double ResidualBesideSine(const std::vector<double>& x, size_t from, double hertz) {
  double sinPart = 0.0, cosPart = 0.0;
  const size_t n = x.size() - from;
  for (size_t i = from; i < x.size(); ++i) {
    sinPart += x[i] * std::sin(2.0 * kPi * hertz * i / kRate);
    cosPart += x[i] * std::cos(2.0 * kPi * hertz * i / kRate);
  }
  sinPart *= 2.0 / n;
  cosPart *= 2.0 / n;
  std::vector<double> rest(x.begin() + from, x.end());
  for (size_t i = 0; i < n; ++i) {
    const double phase = 2.0 * kPi * hertz * (i + from) / kRate;
    rest[i] -= sinPart * std::sin(phase) + cosPart * std::cos(phase);
  }
  return Rms(rest, 0) / Rms(x, from);
}

TEST(ChorusSignal, FractionalClockKeepsATonePure) {
  // 1/u = 6.25 cells per sample: the line samples between input samples.
  Chorus chorus = MakeChorus(0.04, 0.0, 0.02);
  const std::vector<double> wet = Render(chorus, Sine(3000.0, kRate / 5));
  EXPECT_LT(ResidualBesideSine(wet, kRate / 20, 3000.0), 0.001);
}

TEST(ChorusSignal, SampleRateChangeEmptiesTheLine) {
  Chorus chorus = MakeChorus(0.36, 0.0, 0.02);
  Render(chorus, Sine(1000.0, 600));
  chorus.SetSampleRate(kRate, kChorusLineSeconds);
  const std::vector<double> wet = Render(chorus, std::vector<double>(kRate / 10, 0.0));
  EXPECT_LT(Rms(wet, 0), 1e-9);
}

TEST(ChorusLowRates, TooShortForOneCellGivesSilence) {
  Chorus chorus;
  for (double rate : {24.0, 1.0, 0.0, -48000.0, std::numeric_limits<double>::quiet_NaN()}) {
    chorus.SetSampleRate(rate, kChorusLineSeconds);
    for (int i = 0; i < 200; ++i) {
      if (i % 7 == 0) chorus.TickLfo();
      EXPECT_EQ(chorus.Process(1.0), 0.0);
    }
  }
  chorus.SetSampleRate(kRate, kChorusLineSeconds);
  chorus.SetBase(0.04);
  chorus.TickLfo();
  EXPECT_GT(Rms(Render(chorus, Sine(1000.0, kRate / 20)), 0), 0.1);
}

TEST(ChorusLowRates, StaysBoundedWhereTheCornerPassesNyquist) {
  for (double rate : {25.0, 8000.0, 11025.0}) {
    Chorus chorus;
    chorus.SetSampleRate(rate, kChorusLineSeconds);
    chorus.SetBase(0.04);
    chorus.SetDepth(0.15);
    double peak = 0.0;
    for (int i = 0; i < 20000; ++i) {
      if (i % 8 == 0) chorus.TickLfo();
      peak = std::max(peak, std::fabs(chorus.Process(i % 2 ? 1.0 : -1.0)));
    }
    EXPECT_LT(peak, 4.0) << rate;
  }
}

}  // namespace
