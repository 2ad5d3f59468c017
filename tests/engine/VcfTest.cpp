#include "engine/Vcf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/CutoffTable.h"
#include "engine/PitchToFrequency.h"

namespace {

// Normalised "VCF Cutoff" that lands on `index` in the normal range.
double CutoffFor(int index) {
  return (index + 0.5) / kPitchTableSize;
}

// A filter at full resonance on `table`, cutoff at `index`.
Vcf ResonantFilter(CutoffTable& table, double rate, int index) {
  Vcf vcf;
  vcf.SetSampleRate(table, rate);
  vcf.SetCutoff(CutoffFor(index), false);
  vcf.SetResonance(1.0);
  return vcf;
}

// Frequency in Hz at which the filter rings after a small impulse: counts
// upward zero crossings once the fast-decaying poles are gone (after three
// cycles) until the ringing has fallen by 80 dB.
double RingFrequency(Vcf& vcf, double rate, int offset = 0) {
  double previous = vcf.Process(0.5, offset);
  double startPeak = 0.0;
  double peak = 0.0;
  double first = 0.0;
  double last = 0.0;
  int crossings = 0;
  for (int n = 1; n < static_cast<int>(rate); ++n) {
    const double y = vcf.Process(0.0, offset);
    peak = std::max(peak, std::fabs(y));
    if (previous < 0.0 && y >= 0.0) {
      if (startPeak == 0.0) startPeak = peak;
      if (peak < startPeak * 1e-4) break;
      const double t = n - 1 + previous / (previous - y);
      if (++crossings == 4) first = t;
      last = t;
      peak = 0.0;
    }
    previous = y;
  }
  return (crossings - 4) * rate / (last - first);
}

// Gain of a small constant input once the filter has settled.
double DcGain(Vcf& vcf) {
  constexpr double kLevel = 0.01;
  double y = 0.0;
  for (int n = 0; n < 20000; ++n) y = vcf.Process(kLevel, 0);
  return y / kLevel;
}

class VcfResonance : public ::testing::TestWithParam<double> {};

// The ladder at full resonance rings at 97.4% of the cutoff frequency; the
// bilinear mapping pulls high cutoffs lower still.
TEST_P(VcfResonance, RingsJustBelowTheCutoffFrequency) {
  const double rate = GetParam();
  CutoffTable table;
  for (int index : {5000, 7000, 8832, 10000, 12000}) {
    Vcf vcf = ResonantFilter(table, rate, index);
    const double ratio = RingFrequency(vcf, rate) / PitchToFrequency(index);
    EXPECT_GT(ratio, 0.965) << "index " << index;
    EXPECT_LT(ratio, 0.98) << "index " << index;
  }
}

TEST_P(VcfResonance, OwnTablePerRateGivesTheSameHertz) {
  const double rate = GetParam();
  CutoffTable table44k;
  CutoffTable tableOther;
  Vcf at44k = ResonantFilter(table44k, 44100.0, 8832);
  Vcf other = ResonantFilter(tableOther, rate, 8832);
  EXPECT_EQ(table44k.SampleRate(), 44100.0);
  EXPECT_NEAR(RingFrequency(other, rate), 428.5, 0.5);
  EXPECT_NEAR(RingFrequency(at44k, 44100.0), 428.5, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Rates, VcfResonance, ::testing::Values(44100.0, 96000.0));

TEST(VcfKeyTracking, FullTrackingMovesOneSemitonePerKey) {
  CutoffTable table;
  for (bool legacy : {false, true}) {
    // Low enough in both ranges that the bilinear mapping leaves the octave alone.
    auto ringAt = [&](int note) {
      Vcf vcf;
      vcf.SetSampleRate(table, 44100.0);
      vcf.SetLegacy(legacy);
      vcf.SetCutoff(0.25, false);
      vcf.SetResonance(1.0);
      return RingFrequency(vcf, 44100.0, Vcf::KeyTrackOffset(note, 1.0, legacy));
    };
    const double at60 = ringAt(60);
    EXPECT_NEAR(ringAt(61) / at60, std::pow(2.0, 1.0 / 12.0), 1e-3) << "legacy " << legacy;
    EXPECT_NEAR(ringAt(72) / at60, 2.0, 2e-3) << "legacy " << legacy;
    EXPECT_NEAR(ringAt(48) / at60, 0.5, 1e-3) << "legacy " << legacy;
  }
}

TEST(VcfResonanceCurve, LegacyHalfResonanceHasNoGainCompensation) {
  CutoffTable table;
  Vcf vcf;
  vcf.SetSampleRate(table, 44100.0);
  vcf.SetLegacy(true);
  vcf.SetCutoff(0.7, false);
  vcf.SetResonance(0.5);
  // A settled ladder passes DC at 1 / (1 + k) without compensation.
  EXPECT_NEAR(1.0 / DcGain(vcf) - 1.0, 1.1876, 1e-3);
}

TEST(VcfResonanceCurve, NormalModeCompensatesTheResonanceLoss) {
  CutoffTable table;
  Vcf vcf;
  vcf.SetSampleRate(table, 44100.0);
  vcf.SetCutoff(0.7, false);
  vcf.SetResonance(0.5);
  EXPECT_NEAR(DcGain(vcf), 1.5 / (1.0 + 1.8), 1e-3);

  // Legacy mode drops the compensation but keeps the resonance already set.
  vcf.SetLegacy(true);
  EXPECT_NEAR(DcGain(vcf), 1.0 / (1.0 + 1.8), 1e-3);
}

TEST(VcfCutoff, RangesOfBothModes) {
  CutoffTable table;
  Vcf vcf;
  vcf.SetSampleRate(table, 44100.0);
  vcf.SetCutoff(0.5, false);
  EXPECT_EQ(vcf.CutoffIndex(), 8640);
  vcf.SetLegacy(true);
  vcf.SetCutoff(0.0, false);
  EXPECT_EQ(vcf.CutoffIndex(), 4489);
  EXPECT_LT(PitchToFrequency(4489), 62.0);
  EXPECT_GE(PitchToFrequency(4490), 62.0);
  vcf.SetCutoff(1.0, false);
  EXPECT_EQ(vcf.CutoffIndex(), 16769);
}

TEST(VcfCutoff, GlidesOneIndexPerSample) {
  CutoffTable table;
  Vcf vcf;
  vcf.SetSampleRate(table, 44100.0);
  vcf.SetCutoff(CutoffFor(8000), false);
  vcf.SetCutoff(CutoffFor(8300), true);
  for (int n = 1; n <= 300; ++n) {
    vcf.Process(0.0, 0);
    ASSERT_EQ(vcf.CutoffIndex(), 8000 + n);
  }
  vcf.Process(0.0, 0);
  EXPECT_EQ(vcf.CutoffIndex(), 8300);

  vcf.SetCutoff(CutoffFor(8290), true);
  for (int n = 0; n < 20; ++n) vcf.Process(0.0, 0);
  EXPECT_EQ(vcf.CutoffIndex(), 8290);

  vcf.SetCutoff(CutoffFor(5000), false);
  EXPECT_EQ(vcf.CutoffIndex(), 5000);
}

// Offsets beyond the table read its ends; an index of exactly -1 is no
// exception.
TEST(VcfCutoff, OffsetsSaturateAtTheTableEnds) {
  CutoffTable table;
  for (int overshoot : {-1, -100000, 100000}) {
    Vcf beyond = ResonantFilter(table, 44100.0, 8000);
    Vcf atEnd = ResonantFilter(table, 44100.0, 8000);
    const int toEnd = overshoot < 0 ? -8000 : kPitchIndexMax - 8000;
    for (int n = 0; n < 200; ++n) {
      const double x = n % 7 == 0 ? 0.3 : -0.05;
      ASSERT_EQ(beyond.Process(x, toEnd + overshoot), atEnd.Process(x, toEnd))
          << "overshoot " << overshoot << " sample " << n;
    }
  }
}

TEST(VcfSampleRate, KeepsTheCutoffItWasGiven) {
  CutoffTable table;
  Vcf vcf = ResonantFilter(table, 44100.0, 8832);
  vcf.SetSampleRate(table, 48000.0);
  EXPECT_EQ(table.SampleRate(), 48000.0);
  EXPECT_NEAR(RingFrequency(vcf, 48000.0), 428.5, 0.5);

  vcf.SetLegacy(true);
  vcf.SetCutoff(0.0, false);
  vcf.SetSampleRate(table, 96000.0);
  EXPECT_EQ(vcf.CutoffIndex(), 4489);
}

TEST(VcfSampleRate, ClearsTheStages) {
  CutoffTable table;
  Vcf vcf = ResonantFilter(table, 44100.0, 8832);
  vcf.Process(1.0, 0);
  EXPECT_TRUE(vcf.IsRinging());
  vcf.SetSampleRate(table, 44100.0);
  EXPECT_FALSE(vcf.IsRinging());
}

TEST(VcfGuards, NanOrInfiniteInputCountsAsSilence) {
  CutoffTable table;
  Vcf vcf = ResonantFilter(table, 44100.0, 8832);
  for (int n = 0; n < 50; ++n) vcf.Process(0.2, 0);
  for (double poison :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity()}) {
    EXPECT_TRUE(std::isfinite(vcf.Process(poison, 0))) << poison;
    for (int n = 0; n < 50; ++n) ASSERT_TRUE(std::isfinite(vcf.Process(0.2, 0))) << poison;
  }
  for (int n = 0; n < 44100; ++n) vcf.Process(0.0, 0);
  EXPECT_NEAR(RingFrequency(vcf, 44100.0), 428.5, 0.5);
}

TEST(VcfGuards, RingingDiesAwayBelowTheQuietLevel) {
  CutoffTable table;
  Vcf vcf = ResonantFilter(table, 44100.0, 8832);
  vcf.Process(1.0, 0);
  int samples = 0;
  while (vcf.IsRinging() && samples < 44100) {
    vcf.Process(0.0, 0);
    ++samples;
  }
  EXPECT_GT(samples, 1000);
  EXPECT_LT(samples, 44100);
}

}  // namespace
