#include <benchmark/benchmark.h>

#include "engine/Dco.h"
#include "engine/IncrementTable.h"

namespace {

constexpr int kBlock = 256;

// One oscillator with all four footages sounding (middle C, octave value 3).
void BM_DcoRenderFourFootages(benchmark::State& state) {
  IncrementTable increments;
  Dco dco;
  dco.SetSampleRate(increments, 44100.0);
  dco.SetOctave(0);
  dco.SetWaveform(1.0);
  for (Dco::Footage f : {Dco::k16, Dco::k8, Dco::k4, Dco::k2}) dco.SetFootageLevel(f, 1.0);
  dco.SetPitch(60 * 128);
  for (auto _ : state) {
    for (int i = 0; i < kBlock; ++i) benchmark::DoNotOptimize(dco.Render());
  }
  state.counters["time/sample"] = benchmark::Counter(
      kBlock, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DcoRenderFourFootages);

}  // namespace
