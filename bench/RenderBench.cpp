// Whole-instrument render speed: seconds of audio per second of CPU, one core.
#include <benchmark/benchmark.h>

#include <vector>

#include "control/ParameterIndex.h"
#include "engine/Lanes.h"
#include "engine/Tarsyn7.h"
#include "host/Vst2.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;

VstIntPtr VST_CALLBACK QuietHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

// The instrument as a host sees it: parameters, notes and audio go through the VST 2.4
// interface, in single precision, as in a host's audio thread.
class RenderRig {
 public:
  RenderRig() {
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, kRate);
    Dispatch(effSetBlockSize, 0, kBlock);
    Dispatch(effMainsChanged, 0, 1);
    Set(kDeg1Sustain, 31);
    Set(kDeg2Sustain, 31);
    Set(kDeg3Sustain, 20);
    Set(kVcfResonance, 8);
    Set(kVcfCutoff, 60);
    Set(kVcfEgIntensity, 8);
    Set(kMgDco, 3);
    Set(kMgVcf, 3);
  }
  ~RenderRig() {
    Dispatch(effMainsChanged, 0, 0);
    Dispatch(effClose);  // deletes the plug-in
  }

  void Set(int index, double plain) {
    effect_->setParameter(effect_, index,
                          static_cast<float>(plug_->GetParameter(index)->ToNormalized(plain)));
  }

  void PlayChord(int voices) {
    std::vector<VstMidiEvent> notes;
    for (int v = 0; v < voices; ++v) {
      notes.push_back(MidiEventOf(0, 0x90, static_cast<uint8_t>(36 + v), 100));
    }
    std::vector<char> list(sizeof(VstEvents) + notes.size() * sizeof(VstEvent*));
    auto* events = reinterpret_cast<VstEvents*>(list.data());
    events->numEvents = static_cast<int32_t>(notes.size());
    for (size_t i = 0; i < notes.size(); ++i) {
      EventSlots(events)[i] = reinterpret_cast<VstEvent*>(&notes[i]);
    }
    Dispatch(effProcessEvents, 0, 0, 0.0f, events);
    Render();  // the notes start
  }

  void Render() {
    float* outputs[] = {left_.data(), right_.data()};
    effect_->processReplacing(effect_, nullptr, outputs, kBlock);
  }

 private:
  VstIntPtr Dispatch(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, float opt = 0.0f,
                     void* ptr = nullptr) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
  }

  Tarsyn7* plug_ = new Tarsyn7(QuietHost);
  AEffect* effect_ = plug_->Effect();
  std::vector<float> left_ = std::vector<float>(kBlock);
  std::vector<float> right_ = std::vector<float>(kBlock);
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
