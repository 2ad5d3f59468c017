#include <benchmark/benchmark.h>

#include "control/ParameterIndex.h"
#include "engine/CutoffTable.h"
#include "engine/IncrementTable.h"
#include "engine/NoiseGenerator.h"
#include "engine/PerformanceValues.h"
#include "engine/Voice.h"

namespace {

constexpr double kRate = 44100.0;
constexpr int kControlPeriod = 44;
constexpr int kTicksPerIteration = 8;

// One sounding voice, both DCOs with all footages, noise on, filter half open
// and swept by DEG3; the owner's tables and noise live beside it.
struct VoiceRig {
  explicit VoiceRig(bool ownFilter) {
    voice.SetPerformance(&performance);
    voice.SetTables(increments, cutoffs);
    voice.SetNoise(&noise);
    voice.SetSampleRate(kRate);
    Set(kDcoMode, 1.0);
    Set(kDco2Interval, 7.0, 7.0 / 12.0);
    Set(kDco2Detune, 0.5);
    for (int index : {kDco1Foot16, kDco1Foot8, kDco1Foot4, kDco1Foot2, kDco2Foot16, kDco2Foot8,
                      kDco2Foot4, kDco2Foot2, kDco1Level, kDco2Level, kDeg1BreakPoint, kDeg1Sustain,
                      kDeg2BreakPoint, kDeg2Sustain, kDeg3BreakPoint}) {
      Set(index, 1.0);
    }
    Set(kDco1Waveform, 1.0);
    Set(kDco2Waveform, 0.5);
    Set(kDeg3Sustain, 0.5);
    Set(kNoiseLevel, 0.5);
    Set(kVcfCutoff, 0.5);
    Set(kVcfResonance, 0.5);
    Set(kVcfEgPolarity, 1.0);
    Set(kVcfEgIntensity, 0.5);
    Set(kGodMode, ownFilter ? 1.0 : 0.0);
    voice.StartVoice(60, 100, 1);
  }

  void Set(int index, double n) { Set(index, n, n); }
  void Set(int index, double plain, double n) { voice.SetParameter(index, plain, n); }

  IncrementTable increments;
  CutoffTable cutoffs;
  NoiseGenerator noise;
  PerformanceValues performance;
  Voice voice;
};

// Control updates at their rate, so the cost of choosing tables is included.
void RenderVoice(benchmark::State& state, bool ownFilter) {
  VoiceRig rig(ownFilter);
  for (auto _ : state) {
    for (int tick = 0; tick < kTicksPerIteration; ++tick) {
      rig.voice.VoiceControlUpdate(tick * 3.0, tick * 5.0);  // a slow vibrato and sweep
      for (int i = 0; i < kControlPeriod; ++i) benchmark::DoNotOptimize(rig.voice.RenderVoice());
    }
  }
  state.counters["time/sample"] = benchmark::Counter(
      kTicksPerIteration * kControlPeriod,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_VoiceOwnFilter(benchmark::State& state) {
  RenderVoice(state, true);
}
BENCHMARK(BM_VoiceOwnFilter);

void BM_VoiceGlobalFilterPath(benchmark::State& state) {
  RenderVoice(state, false);
}
BENCHMARK(BM_VoiceGlobalFilterPath);

}  // namespace
