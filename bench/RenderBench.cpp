// Whole-instrument render speed: seconds of audio per second of CPU, one core.
#include <benchmark/benchmark.h>

#include <vector>

#include "control/ParameterIndex.h"
#include "engine/Lanes.h"
#include "engine/Tarsyn7.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;

class RenderRig {
 public:
  RenderRig() {
    plug.ChangeSampleRate(kRate);
    plug.ChangeBlockSize(kBlock);
    plug.ResetProcessing();
    plug.ActivationChanged(true);
    Set(kDeg1Sustain, 31);
    Set(kDeg2Sustain, 31);
    Set(kDeg3Sustain, 20);
    Set(kVcfResonance, 8);
    Set(kVcfCutoff, 60);
    Set(kVcfEgIntensity, 8);
    Set(kMgDco, 3);
    Set(kMgVcf, 3);
  }

  void Set(int index, double plain) {
    plug.SetParameterFromEditor(index, plug.GetParameter(index)->ToNormalized(plain));
  }

  void PlayChord(int voices) {
    for (int v = 0; v < voices; ++v) {
      plug.HandleMidiMessage({0, 0x90, static_cast<uint8_t>(36 + v), 100});
    }
    Render();  // the notes start
  }

  void Render() {
    double* outputs[] = {left.data(), right.data()};
    plug.RenderBlock(nullptr, outputs, kBlock);
  }

  Tarsyn7 plug{nullptr};
  std::vector<double> left = std::vector<double>(kBlock);
  std::vector<double> right = std::vector<double>(kBlock);
};

void ReportRealTime(benchmark::State& state) {
  state.counters["x_realtime"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kBlock / kRate, benchmark::Counter::kIsRate);
}

void BM_EightVoicesGlobalFilter(benchmark::State& state) {
  RenderRig rig;
  rig.PlayChord(8);
  for (auto _ : state) rig.Render();
  ReportRealTime(state);
}
BENCHMARK(BM_EightVoicesGlobalFilter);

// "Voices" 64, "God Mode" On, "DCO Mode" 2 and the chorus, with as many voices sounding
// as the argument says; voice_x_realtime is real time times the sounding voices, so the
// cost per voice and sample of 8 and of 64 voices can be compared.
void BM_GodModeDoubleDcoChorus(benchmark::State& state) {
  RenderRig rig;
  rig.Set(kVoices, 1);
  rig.Set(kGodMode, 1);
  rig.Set(kDcoMode, 2);
  rig.Set(kChorus, 0.6);
  const int voices = static_cast<int>(state.range(0));
  rig.PlayChord(voices);
  for (auto _ : state) rig.Render();
  ReportRealTime(state);
  state.counters["voice_x_realtime"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kBlock / kRate * voices,
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GodModeDoubleDcoChorus)->Arg(8)->Arg(64);

// The same 64 voices on the SSE2 lanes, as on a processor without AVX2.
void BM_GodModeDoubleDcoChorusNarrowLanes(benchmark::State& state) {
  AllowWideLanes(false);
  BM_GodModeDoubleDcoChorus(state);
  AllowWideLanes(true);
}
BENCHMARK(BM_GodModeDoubleDcoChorusNarrowLanes)->Arg(64);

}  // namespace
