#include "engine/Dco.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "engine/IncrementTable.h"
#include "engine/Lanes.h"
#include "engine/PitchToFrequency.h"
#include "engine/SquareTables.h"
#include "tests/engine/SignalAnalysis.h"

namespace {

using signal_analysis::Amplitude;
using signal_analysis::MeasureFrequency;
using signal_analysis::PowerSpectrum;

constexpr double kNote69 = 69 * kStepsPerSemitone;
constexpr double kPhaseCycle = 134217728.0;  // 2^27
constexpr std::initializer_list<Dco::Footage> kAllFootages = {Dco::k16, Dco::k8, Dco::k4, Dco::k2};

// Waveform 1 at `octave` with the given footages at full level, the others at 0.
void Prepare(Dco& dco, IncrementTable& increments, double rate, int octave,
             std::initializer_list<Dco::Footage> footages) {
  dco.SetSampleRate(increments, rate);
  dco.SetOctave(octave);
  for (Dco::Footage f : kAllFootages) dco.SetFootageLevel(f, 0.0);
  for (Dco::Footage f : footages) dco.SetFootageLevel(f, 1.0);
}

std::vector<double> Render(Dco& dco, std::size_t samples) {
  std::vector<double> out(samples);
  for (double& x : out) x = dco.Render();
  return out;
}

double OneSecondFrequency(Dco& dco, double rate) {
  return MeasureFrequency(Render(dco, static_cast<std::size_t>(rate)), rate);
}

class DcoPitch : public ::testing::TestWithParam<double> {
 protected:
  double Measure(int octave, Dco::Footage footage, double p) {
    Dco dco;
    Prepare(dco, increments_, GetParam(), octave, {footage});
    dco.SetPitch(p);
    return OneSecondFrequency(dco, GetParam());
  }

  IncrementTable increments_;
};

TEST_P(DcoPitch, Note69AtOctaveZeroPlays440On16Foot) {
  EXPECT_NEAR(Measure(0, Dco::k16, kNote69), 440.0, 0.1);
}

TEST_P(DcoPitch, OctaveMinusOneShiftsEveryFootageDown) {
  EXPECT_NEAR(Measure(-1, Dco::k16, kNote69), 220.0, 0.1);
  EXPECT_NEAR(Measure(-1, Dco::k8, kNote69), 440.0, 0.1);
  EXPECT_NEAR(Measure(-1, Dco::k4, kNote69), 880.0, 0.1);
  EXPECT_NEAR(Measure(-1, Dco::k2, kNote69), 1760.0, 0.1);
  EXPECT_NEAR(Measure(-2, Dco::k16, kNote69), 110.0, 0.1);
}

TEST_P(DcoPitch, IntervalAndPitchBendRaiseThePitch) {
  const double rate = GetParam();
  Dco dco;
  Prepare(dco, increments_, rate, 0, {Dco::k16});
  dco.SetInterval(7);
  dco.SetPitch(kNote69);
  EXPECT_NEAR(OneSecondFrequency(dco, rate), 659.255, 0.1);

  double bend = 0.0;
  dco.BindPitchBend(&bend);
  dco.SetInterval(0);
  bend = 2 * kStepsPerSemitone;  // the same note, bent up a whole tone
  dco.SetPitch(kNote69);
  EXPECT_NEAR(OneSecondFrequency(dco, rate), 493.883, 0.1);
}

INSTANTIATE_TEST_SUITE_P(Rates, DcoPitch, ::testing::Values(44100.0, 48000.0));

TEST(DcoRates, EachTableGivesItsOwnRateTheRightPitch) {
  IncrementTable at44;
  IncrementTable at96;
  Dco a;
  Dco b;
  Prepare(a, at44, 44100.0, 0, {Dco::k16});
  Prepare(b, at96, 96000.0, 0, {Dco::k16});
  a.SetPitch(kNote69);
  b.SetPitch(kNote69);
  EXPECT_NEAR(OneSecondFrequency(a, 44100.0), 440.0, 0.1);
  EXPECT_NEAR(OneSecondFrequency(b, 96000.0), 440.0, 0.1);
}

TEST(DcoRates, NewRateChoosesNewTablesForTheSameIndex) {
  IncrementTable increments;
  Dco dco;
  Prepare(dco, increments, 44100.0, 0, kAllFootages);
  dco.SetPitch(127 * kStepsPerSemitone);
  EXPECT_EQ(dco.FootageTable(Dco::k8), -1);

  dco.SetSampleRate(increments, 96000.0);
  dco.SetPitch(127 * kStepsPerSemitone);
  EXPECT_NE(dco.FootageTable(Dco::k8), -1);  // 25 kHz is below 48 kHz
}

TEST(DcoRange, SilentUntilSetUpForARate) {
  Dco dco;
  dco.SetFootageLevel(Dco::k16, 1.0);
  dco.SetPitch(kNote69);
  for (double x : Render(dco, 100)) EXPECT_EQ(x, 0.0);
}

TEST(DcoRange, IndicesOutsideTheTableSaturate) {
  IncrementTable increments;
  auto play = [&](double p) {
    Dco dco;
    Prepare(dco, increments, 44100.0, 0, kAllFootages);
    dco.SetPitch(p);
    return Render(dco, 4096);
  };
  EXPECT_EQ(play(-700.0), play(0.0));
  EXPECT_EQ(play(std::nan("")), play(0.0));
  EXPECT_EQ(play(kPitchIndexMax + 900.0), play(kPitchIndexMax));
  EXPECT_NE(play(kPitchIndexMax - 128.0), play(kPitchIndexMax));
}

TEST(DcoRange, Note127KeepsOnlyThe16FootSineAt44100) {
  IncrementTable increments;
  Dco dco;
  Prepare(dco, increments, 44100.0, 0, kAllFootages);
  dco.SetPitch(127 * kStepsPerSemitone);
  EXPECT_EQ(dco.FootageTable(Dco::k16), 19);
  for (Dco::Footage f : {Dco::k8, Dco::k4, Dco::k2}) EXPECT_EQ(dco.FootageTable(f), -1);

  // Table 19 is a pure sine: the whole output is the fundamental, amplitude 0.5 * 0.46875.
  const std::vector<double> out = Render(dco, 44100);
  EXPECT_NEAR(Amplitude(out, 44100.0, increments.At(127 * 128) * 44100.0 / kPhaseCycle), 0.234375,
              1e-3);
  double peak = 0.0;
  for (double x : out) peak = std::max(peak, std::fabs(x));
  EXPECT_NEAR(peak, 0.234375, 1e-3);
}

// Every pitch index, at common rates: each audible footage's highest partial
// stays below Nyquist, and a footage is silenced only at or above Nyquist.
TEST(DcoBandLimit, NoChosenPartialReachesNyquist) {
  const SquareTables& squares = SquareTables::Get();
  for (double rate : {44100.0, 48000.0, 88200.0, 96000.0}) {
    IncrementTable increments;
    Dco dco;
    Prepare(dco, increments, rate, 0, kAllFootages);
    for (int index = 0; index <= kPitchIndexMax; ++index) {
      dco.SetPitch(index);
      const double f16 = increments.At(index) * rate / kPhaseCycle;
      for (Dco::Footage f : kAllFootages) {
        const double frequency = f16 * (1 << f);
        const int table = dco.FootageTable(f);
        if (table < 0) {
          ASSERT_GE(frequency, rate / 2) << "rate " << rate << " index " << index << " foot " << f;
        } else {
          ASSERT_LT(squares.HighestHarmonic(table) * frequency, rate / 2)
              << "rate " << rate << " index " << index << " foot " << f << " table " << table;
        }
      }
    }
  }
}

// At a rate where the note advances a whole number of 16' entries per sample,
// tables are read exactly and the output repeats every 2048 samples, so any
// energy between the harmonics of the note is folded partials.
TEST(DcoBandLimit, TopOctaveNoteFoldsNoPartials) {
  const double f16 = PitchToFrequency(108 * kStepsPerSemitone);  // 4186 Hz
  const int step = 195;                                          // entries per sample, odd
  const double rate = f16 * SquareTables::kLength / step * (1.0 - 1e-12);
  for (double waveform : {0.0, 1.0}) {
    IncrementTable increments;
    Dco dco;
    Prepare(dco, increments, rate, 0, kAllFootages);
    dco.SetWaveform(waveform);
    dco.SetPitch(108 * kStepsPerSemitone);
    ASSERT_EQ(increments.At(108 * kStepsPerSemitone), step << 16);

    const std::vector<double> power = PowerSpectrum(Render(dco, SquareTables::kLength), false);
    double folded = 0.0;
    for (std::size_t bin = 1; bin < power.size(); ++bin) {
      if (bin % step != 0) folded += power[bin];
    }
    EXPECT_LT(10.0 * std::log10(folded / power[step]), -60.0) << "waveform " << waveform;
  }
}

TEST(DcoDetune, Value3LowersBy36StepsInLegacyModeAnd50Otherwise) {
  IncrementTable increments;
  auto measure = [&](double detune, bool legacy) {
    Dco dco;
    Prepare(dco, increments, 44100.0, 0, {Dco::k16});
    dco.SetLegacyDetune(legacy);
    dco.SetDetune(detune);
    dco.SetPitch(kNote69);
    return OneSecondFrequency(dco, 44100.0);
  };
  const double plain = measure(0.0, false);
  EXPECT_NEAR(plain, 440.0, 0.1);
  EXPECT_NEAR(measure(0.0, true), plain, 1e-9);
  // Ratios against the undetuned note, so the test does not depend on the tuning.
  auto ratio = [](double steps) { return PitchToFrequency(kNote69 - steps) / 440.0; };
  EXPECT_NEAR(measure(1.0, true) / plain, ratio(36), 1e-4);
  EXPECT_NEAR(measure(1.0, false) / plain, ratio(50), 1e-4);
  EXPECT_NEAR(measure(2.0 / 3.0, true) / plain, ratio(16), 1e-4);
  EXPECT_NEAR(measure(1.0 / 3.0, true) / plain, ratio(8), 1e-4);
}

// With waveform 2 the footages weigh 1, 1/2, 1/4, 1/8, so the octave harmonics
// fall off like a sawtooth's; with waveform 1 all four weigh the same.
TEST(DcoMix, WaveformSetsTheFootageWeights) {
  const double rate = 44100.0;
  IncrementTable increments;
  Dco dco;
  Prepare(dco, increments, rate, 0, kAllFootages);
  dco.SetPitch(36 * kStepsPerSemitone);
  const double f16 = increments.At(36 * kStepsPerSemitone) * rate / kPhaseCycle;
  auto octaveAmplitudes = [&](double waveform) {
    dco.SetWaveform(waveform);
    const std::vector<double> out = Render(dco, 32768);
    std::vector<double> a;
    for (int octave = 0; octave < 4; ++octave)
      a.push_back(Amplitude(out, rate, f16 * (1 << octave)));
    return a;
  };
  for (double a : octaveAmplitudes(0.0)) EXPECT_NEAR(a, 0.5 * 0.46875, 2e-3);
  const std::vector<double> saw = octaveAmplitudes(1.0);
  for (int octave = 0; octave < 4; ++octave) EXPECT_NEAR(saw[octave], 0.5 / (1 << octave), 2e-3);

  dco.SetFootageLevel(Dco::k8, 0.5);
  EXPECT_NEAR(octaveAmplitudes(1.0)[1], 0.125, 2e-3);
  dco.SetFootageLevel(Dco::k8, 0.0);
  EXPECT_NEAR(octaveAmplitudes(1.0)[1], 0.0, 2e-3);
}

// A run read at once (voices side by side) gives what Next gives sample by sample, for
// every number of footages read, at pitches where the top footages fall silent, on
// whatever lanes the processor has and on the narrow ones, from the footages and from
// their mix.
TEST(DcoRun, ReadsWhatNextReadsForEveryFootageCount) {
  const std::initializer_list<Dco::Footage> footageSets[] = {
      {}, {Dco::k16}, {Dco::k8}, {Dco::k16, Dco::k4}, {Dco::k2}, kAllFootages};
  IncrementTable increments;
  FootageMixes mixes;
  for (bool wide : {true, false}) {
    AllowWideLanes(wide);
    for (const auto& footages : footageSets) {
      for (int note : {24, 69, 115}) {
        mixes.NewBlock();
        Dco dco;
        if (note != 69) dco.BindFootageMixes(&mixes);
        Prepare(dco, increments, 48000.0, 0, footages);
        dco.SetWaveform(0.6);
        dco.SetPitch(note * kStepsPerSemitone + 37);
        DcoReader run = dco.Reader();
        EXPECT_EQ(run.mix.Valid(), note != 69 && run.count > 0);
        DcoReader alone = dco.Reader();
        constexpr int kStride = 3;
        constexpr int kFrames = 64;
        std::vector<double> out(kStride * kFrames, 7.0);
        run.ReadRun(out.data(), kStride, kFrames);
        for (int s = 0; s < kFrames; ++s) {
          EXPECT_EQ(out[static_cast<size_t>(s * kStride)], alone.Next()) << note << " " << s;
          EXPECT_EQ(out[static_cast<size_t>(s * kStride + 1)], 7.0);  // between the strides
        }
        EXPECT_EQ(run.phase, alone.phase);
      }
    }
  }
  AllowWideLanes(true);
}

}  // namespace
