#include "engine/Voice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "control/ParameterIndex.h"
#include "engine/CutoffTable.h"
#include "engine/IncrementTable.h"
#include "engine/NoiseGenerator.h"
#include "engine/PitchToFrequency.h"
#include "tests/engine/SignalAnalysis.h"

namespace {

using signal_analysis::Amplitude;
using signal_analysis::MeasureFrequency;

constexpr double kRate = 44100.0;
constexpr int kA4 = 69;
constexpr double kFifthAboveA4 = 659.255;

struct Range {
  double minimum;
  double maximum;
};

Range RangeOf(int index) {
  switch (index) {
    case kDco1Octave:
    case kDco2Octave:
      return {1, 3};
    case kDco1Waveform:
    case kDco2Waveform:
    case kDcoMode:
    case kVcfEgPolarity:
      return {1, 2};
    case kDco2Interval:
      return {0, 12};
    case kDco2Detune:
      return {0, 3};
    case kNoiseLevel:
    case kVcfResonance:
    case kVcfEgIntensity:
      return {0, 15};
    case kVcfCutoff:
      return {0, 99};
    case kVcfKbdTrack:
      return {0, 2};
    case kDco1Level:
    case kDco2Level:
      return {0, 31};
    default:
      return index >= kDeg1Attack && index <= kDeg3Release ? Range{0, 31} : Range{0, 1};
  }
}

class RetunedByASemitone final : public KeyPitchSource {
 public:
  double PitchIndexForKey(int key) const override { return (key + 1) * 128.0; }
};

double Rms(const std::vector<double>& x) {
  double sum = 0.0;
  for (double v : x) sum += v * v;
  return std::sqrt(sum / static_cast<double>(x.size()));
}

double MaxMagnitude(const std::vector<double>& x) {
  double peak = 0.0;
  for (double v : x) peak = std::max(peak, std::fabs(v));
  return peak;
}

std::vector<double> SecondHalf(const std::vector<double>& x) {
  return std::vector<double>(x.begin() + static_cast<long>(x.size() / 2), x.end());
}

// One voice with its owner's tables: DCO1 and DCO2 each a square organ 16' at
// unison (DCO2 a fifth up), envelopes that open at once and hold full level,
// the filter wide open, current (not legacy) calibration.
class VoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    voice_.SetPerformance(&performance_);
    voice_.SetTables(increments_, cutoffs_);
    voice_.SetNoise(&noise_);
    SetRate(kRate);
    Set(kLegacyMode, 0);
    for (int dco : {kDco1Octave, kDco2Octave}) {
      Set(dco, 3);      // octave
      Set(dco + 1, 1);  // waveform
      Set(dco + 2, 1);  // 16'
      for (int foot = dco + 3; foot <= dco + 5; ++foot) Set(foot, 0);
    }
    Set(kDco1Level, 31);
    Set(kDco2Level, 31);
    Set(kDco2Interval, 7);
    for (int deg = kDeg1Attack; deg <= kDeg3Attack; deg += 6) {
      Set(deg + 2, 31);  // break point
      Set(deg + 4, 31);  // sustain
    }
    Set(kVcfCutoff, 99);
    Set(kVcfEgPolarity, 2);
  }

  void Set(int index, double plain) {
    const Range r = RangeOf(index);
    voice_.SetParameter(index, plain, (plain - r.minimum) / (r.maximum - r.minimum));
  }

  void SetRate(double rate) {
    rate_ = rate;
    controlPeriod_ = static_cast<int>(rate) / 1000;
    sample_ = 0;  // a note started next meets a control update at once
    voice_.SetSampleRate(rate);
  }

  // Renders as the block processor does, with a control update every period.
  std::vector<double> Render(std::size_t samples) {
    std::vector<double> out(samples);
    for (double& x : out) {
      if (sample_++ % controlPeriod_ == 0) voice_.VoiceControlUpdate(pitchModulation_, 0.0);
      x = voice_.RenderVoice();
    }
    return out;
  }

  std::vector<double> Play(int key, std::size_t samples, int velocity = 127) {
    voice_.StartVoice(key, velocity, 1);
    return Render(samples);
  }

  // Renders until the voice stops, at most `limit` samples; the samples taken.
  std::size_t RenderUntilSilent(std::size_t limit) {
    std::size_t taken = 0;
    while (voice_.Active() && taken < limit) taken += Render(1).size();
    return taken;
  }

  double Measure(const std::vector<double>& x) const { return MeasureFrequency(x, rate_); }
  double AmplitudeAt(const std::vector<double>& x, double f) const {
    return Amplitude(x, rate_, f);
  }

  IncrementTable increments_;
  CutoffTable cutoffs_;
  NoiseGenerator noise_;
  PerformanceValues performance_;
  Voice voice_;
  double rate_ = kRate;
  int controlPeriod_ = 44;
  std::size_t sample_ = 0;
  double pitchModulation_ = 0.0;
};

TEST_F(VoiceTest, SoundsAtTheKeysPitch) {
  EXPECT_NEAR(Measure(Play(kA4, 44100)), 440.0, 0.1);

  pitchModulation_ = -12 * 128.0;
  EXPECT_NEAR(Measure(SecondHalf(Render(44100))), 220.0, 0.1);  // from the next control update

  pitchModulation_ = 0.0;
  performance_.pitchBendOffset = 12 * 128.0;
  EXPECT_NEAR(Measure(SecondHalf(Render(44100))), 880.0, 0.2);
}

TEST_F(VoiceTest, AsksItsOwnerForThePitchOfAKey) {
  RetunedByASemitone tuning;
  voice_.SetOwner(&tuning);
  EXPECT_NEAR(Measure(Play(kA4, 44100)), 466.164, 0.1);
  EXPECT_DOUBLE_EQ(voice_.NotePitchIndex(), 70 * 128.0);
}

TEST_F(VoiceTest, Deg1ShapesDco1AndDeg2ShapesDco2InDoubleMode) {
  Set(kDcoMode, 2);
  Set(kDeg2Attack, 31);  // DCO2 fades in over seconds
  const std::vector<double> slowDco2 = Play(kA4, 4096);
  EXPECT_GT(AmplitudeAt(slowDco2, 440.0), 0.2);
  EXPECT_LT(AmplitudeAt(slowDco2, kFifthAboveA4), 0.001);

  Set(kDeg2Attack, 0);
  Set(kDeg1Attack, 31);
  SetRate(kRate);
  const std::vector<double> slowDco1 = Play(kA4, 4096);
  EXPECT_LT(AmplitudeAt(slowDco1, 440.0), 0.001);
  EXPECT_GT(AmplitudeAt(slowDco1, kFifthAboveA4), 0.2);
}

TEST_F(VoiceTest, SingleModeSilencesDco2AndLeavesItsEnvelopeAlone) {
  Set(kDcoMode, 1);
  const std::vector<double> full = Play(kA4, 4096);
  EXPECT_LT(AmplitudeAt(full, kFifthAboveA4), 1e-4);
  EXPECT_TRUE(voice_.Deg2().IsIdle());

  Set(kDco2Level, 0);
  SetRate(kRate);
  EXPECT_EQ(Play(kA4, 4096), full);
}

TEST_F(VoiceTest, VelocityScalesTheVoice) {
  EXPECT_DOUBLE_EQ(Voice::GainForVelocity(127, 1.0), 1.0);
  EXPECT_DOUBLE_EQ(Voice::GainForVelocity(0, 1.0), 0.0);
  EXPECT_DOUBLE_EQ(Voice::GainForVelocity(0, 0.0), 1.0);

  for (int god : {0, 1}) {
    Set(kGodMode, god);
    Set(kVelocity, 0);
    SetRate(kRate);
    const std::vector<double> insensitive = Play(kA4, 2048, 0);
    Set(kVelocity, 1);
    SetRate(kRate);
    EXPECT_EQ(Play(kA4, 2048, 127), insensitive);
    SetRate(kRate);
    EXPECT_EQ(MaxMagnitude(Play(kA4, 2048, 0)), 0.0);
    SetRate(kRate);
    EXPECT_NEAR(Rms(Play(kA4, 2048, 64)) / Rms(insensitive), 64.0 / 127.0, 1e-9);
  }
}

TEST_F(VoiceTest, WithoutOwnFilterTheMixLeavesUnfilteredAndWithoutNoise) {
  const std::vector<double> plain = Play(kA4, 4096);
  Set(kNoiseLevel, 15);
  Set(kVcfCutoff, 0);
  Set(kVcfEgIntensity, 15);
  SetRate(kRate);
  EXPECT_EQ(Play(kA4, 4096), plain);
  EXPECT_EQ(noise_.Next(), NoiseGenerator().Next());  // not one draw taken
}

TEST_F(VoiceTest, OwnFilterLowPassesTheMix) {
  Set(kDco1Waveform, 2);  // stepped sawtooth: a rich spectrum
  for (int foot = kDco1Foot8; foot <= kDco1Foot2; ++foot) Set(foot, 1);
  const std::vector<double> open = SecondHalf(Play(kA4, 8192));
  Set(kGodMode, 1);
  Set(kVcfCutoff, 50);  // about 420 Hz
  SetRate(kRate);
  const std::vector<double> closed = SecondHalf(Play(kA4, 8192));
  const double overtone = 5 * 440.0;
  EXPECT_LT(AmplitudeAt(closed, overtone) / AmplitudeAt(closed, 440.0),
            0.03 * AmplitudeAt(open, overtone) / AmplitudeAt(open, 440.0));
}

TEST_F(VoiceTest, OwnDeg3SweepsTheOwnFilter) {
  Set(kGodMode, 1);
  Set(kVcfCutoff, 0);
  const double shut = AmplitudeAt(SecondHalf(Play(kA4, 8192)), 440.0);
  Set(kVcfEgIntensity, 15);  // full DEG3 opens by 96 semitones
  SetRate(kRate);
  const double swept = AmplitudeAt(SecondHalf(Play(kA4, 8192)), 440.0);
  EXPECT_GT(swept, 0.15);
  EXPECT_LT(shut, 1e-4 * swept);

  Set(kVcfCutoff, 99);
  Set(kVcfEgPolarity, 1);  // inverted: the full DEG3 closes it to about 80 Hz
  SetRate(kRate);
  EXPECT_LT(AmplitudeAt(SecondHalf(Play(kA4, 8192)), 440.0), 0.05 * swept);
}

TEST_F(VoiceTest, OwnFilterAddsNoiseShapedByDeg3) {
  Set(kGodMode, 1);
  Set(kDco1Level, 0);
  EXPECT_LT(MaxMagnitude(Play(kA4, 2048)), 1e-9);

  Set(kNoiseLevel, 15);
  SetRate(kRate);
  EXPECT_GT(Rms(Play(kA4, 2048)), 0.2);

  Set(kDeg3Sustain, 0);  // DEG3 falls to 0 at once, and the noise with it
  SetRate(kRate);
  const std::vector<double> decayed = SecondHalf(Play(kA4, 2048));
  EXPECT_LT(Rms(decayed), 1e-6);
}

TEST_F(VoiceTest, LegacyRestartOpensTheOwnFilterFromClosed) {
  Set(kGodMode, 1);
  for (int legacy : {0, 1}) {
    Set(kLegacyMode, legacy);
    Play(kA4, 4410);
    voice_.StartVoice(kA4 + 2, 127, 2);  // the voice is taken over by another key
    EXPECT_GT(voice_.Deg1().Level(), 0.9);
    EXPECT_EQ(voice_.Deg3().Level() == 0.0, legacy == 1);
  }
}

TEST_F(VoiceTest, GoesSilentAfterItsEnvelopes) {
  Play(kA4, 44100);
  EXPECT_TRUE(voice_.Active());
  voice_.Release();
  EXPECT_LT(RenderUntilSilent(44100), 2205u);  // "Release" 0: a few milliseconds
  EXPECT_FALSE(voice_.Active());
  EXPECT_EQ(voice_.RenderVoice(), 0.0);
}

TEST_F(VoiceTest, OwnFilterKeepsTheVoiceUntilItStopsRinging) {
  for (bool god : {false, true}) {
    Set(kGodMode, god ? 1 : 0);
    Set(kVcfCutoff, 35);  // about 110 Hz, ringing hard
    Set(kVcfResonance, 15);
    SetRate(kRate);
    Play(kA4, 4410);
    voice_.Release();
    while (!voice_.Deg1().IsIdle() || !voice_.Deg3().IsIdle()) Render(1);
    Render(static_cast<std::size_t>(controlPeriod_));  // passes the next control update
    EXPECT_EQ(voice_.Active(), god);
    if (god) {
      EXPECT_LT(RenderUntilSilent(10 * 44100), 10 * 44100u);
      EXPECT_FALSE(voice_.Active());
    }
  }
}

TEST_F(VoiceTest, ReleaseHonoursTheSustainPedal) {
  Play(kA4, 441);
  voice_.SetSustained(true);
  voice_.Release();
  EXPECT_FALSE(voice_.KeyHeld());
  EXPECT_TRUE(voice_.Gate());
  EXPECT_GT(Rms(Render(4410)), 0.1);
  EXPECT_TRUE(voice_.Active());

  voice_.ForceRelease();  // pedal up
  EXPECT_FALSE(voice_.Gate());
  EXPECT_EQ(voice_.Deg1().Stage(), EnvelopeStage::Release);

  voice_.SetSustained(false);
  Play(kA4, 441);
  voice_.Release();
  EXPECT_FALSE(voice_.Gate());
  EXPECT_EQ(voice_.Deg1().Stage(), EnvelopeStage::Release);
}

TEST_F(VoiceTest, GodModeChangeReleasesTheNote) {
  Play(kA4, 441);
  Set(kGodMode, 0);
  EXPECT_FALSE(voice_.KeyHeld());
  EXPECT_FALSE(voice_.Gate());
  EXPECT_EQ(voice_.Deg1().Stage(), EnvelopeStage::Release);
}

TEST_F(VoiceTest, OwnFilterKeepsItsCutoffAcrossARateChange) {
  Set(kGodMode, 1);
  Set(kVcfCutoff, 60);  // about 1 kHz
  const double before = AmplitudeAt(SecondHalf(Play(kA4, 8192)), 440.0);
  SetRate(48000.0);
  EXPECT_FALSE(voice_.Active());
  EXPECT_EQ(voice_.Key(), Voice::kResetKey);
  const std::vector<double> after = Play(kA4, 48000);
  EXPECT_NEAR(Measure(after), 440.0, 0.1);
  EXPECT_NEAR(AmplitudeAt(SecondHalf(after), 440.0), before, 0.05 * before);
}

TEST_F(VoiceTest, LegacyModeSwitchesTheDetuneCurveMidNote) {
  Set(kDcoMode, 2);
  Set(kDco1Level, 0);
  Set(kDco2Interval, 0);
  Set(kDco2Detune, 3);
  Set(kLegacyMode, 1);
  const double a4 = PitchToFrequency(kA4 * 128);
  const double semitoneBelow = PitchToFrequency((kA4 - 1) * 128);
  const double perStep = (a4 - semitoneBelow) / 128.0;
  EXPECT_NEAR(Measure(Play(kA4, 22050)), a4 - 36 * perStep, 0.1);
  Set(kLegacyMode, 0);
  EXPECT_NEAR(Measure(SecondHalf(Render(44100))), a4 - 50 * perStep, 0.1);
}

TEST_F(VoiceTest, LegacyModeSwitchesAllEnvelopesMidNote) {
  Set(kDcoMode, 2);
  Set(kGodMode, 1);
  voice_.StartVoice(kA4, 127, 1);
  const DigitalEnvelope* degs[] = {&voice_.Deg1(), &voice_.Deg2(), &voice_.Deg3()};
  Render(20);
  Set(kLegacyMode, 1);
  // Linear attack 0: a full-scale ramp in 4 ms.
  const double ramp = 1.0 / (kRate * 0.004);
  for (int step = 0; step < 20; ++step) {
    double before[3];
    for (int d = 0; d < 3; ++d) before[d] = degs[d]->Level();
    Render(1);
    for (int d = 0; d < 3; ++d) ASSERT_NEAR(degs[d]->Level() - before[d], ramp, 1e-12) << d;
  }
  Set(kLegacyMode, 0);
  const double before = voice_.Deg1().Level();
  Render(1);
  EXPECT_GT(voice_.Deg1().Level() - before, 1.2 * ramp);  // exponential again
}

TEST_F(VoiceTest, LegacyModeMovesTheOwnFilterRangeMidNote) {
  Set(kGodMode, 1);
  Set(kVcfCutoff, 0);  // 8 Hz; in legacy mode 62 Hz
  const double current = AmplitudeAt(SecondHalf(Play(kA4, 8192)), 440.0);
  Set(kLegacyMode, 1);
  const double legacy = AmplitudeAt(SecondHalf(Render(8192)), 440.0);
  EXPECT_GT(legacy, 300.0 * current);
}

}  // namespace
