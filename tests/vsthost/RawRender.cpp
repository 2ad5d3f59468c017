// Renders a fixed performance through a plug-in's entry point and writes the output as
// raw little-endian doubles (left, right interleaved), so builds for different systems
// can be compared sample by sample.
//
//   vstrender PLUGIN OUTPUT
#include <cstdio>
#include <vector>

#include "host/Vst2.h"
#include "platform/DynamicLibrary.h"

namespace {

using EntryPoint = AEffect*(VST_CALLBACK*)(HostCallback);

constexpr float kRate = 48000.0f;
constexpr int kBlock = 300;  // not a multiple of the control period
constexpr int kBlocks = 480;

VstIntPtr VST_CALLBACK AnswerPlugin(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
  switch (opcode) {
    case audioMasterVersion: return kVstVersion;
    case audioMasterGetSampleRate: return static_cast<VstIntPtr>(kRate);
    case audioMasterGetBlockSize: return kBlock;
    case audioMasterGetCurrentProcessLevel: return kProcessLevelOffline;
    default: return 0;
  }
}

VstIntPtr Dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void Send(AEffect* effect, int offset, int status, int data1, int data2) {
  VstMidiEvent event = MidiEventOf(offset, static_cast<uint8_t>(status),
                                   static_cast<uint8_t>(data1), static_cast<uint8_t>(data2));
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  Dispatch(effect, effProcessEvents, 0, 0, &events);
}

// Chords, a melody, wheel, bend and the pedal, in both filter arrangements.
void Perform(AEffect* effect, int block) {
  const int beat = block % 40;
  if (beat == 0) {
    for (const int key : {48, 55, 60, 64}) Send(effect, 17, 0x90, key + block / 40, 100);
  }
  if (beat == 30) {
    for (const int key : {48, 55, 60, 64}) Send(effect, 211, 0x80, key + block / 40, 0);
  }
  if (beat % 8 == 4) Send(effect, 33, 0x90, 72 + beat / 8, 90);
  if (beat % 8 == 7) Send(effect, 5, 0x80, 72 + beat / 8, 0);
  Send(effect, block % kBlock, 0xB0, 1, (block * 3) % 128);
  if (block % 10 == 0) Send(effect, 99, 0xE0, 0, (block * 7) % 128);
  if (block % 60 == 20) Send(effect, 0, 0xB0, 64, block % 120 < 60 ? 127 : 0);
  if (block == kBlocks / 2) effect->setParameter(effect, 56, 1.0f);  // "God Mode" on
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: vstrender PLUGIN OUTPUT\n");
    return 2;
  }
  DynamicLibrary library(argv[1]);
  auto entry = reinterpret_cast<EntryPoint>(library.Symbol("VSTPluginMain"));
  if (!entry) {
    std::printf("cannot load %s: %s\n", argv[1], library.Error().c_str());
    return 1;
  }
  AEffect* effect = entry(&AnswerPlugin);
  if (!effect) return 1;
  Dispatch(effect, effOpen);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, kRate);
  Dispatch(effect, effSetBlockSize, 0, kBlock);
  Dispatch(effect, effMainsChanged, 0, 1);
  effect->setParameter(effect, 29, 0.6f);  // "Chorus"
  effect->setParameter(effect, 24, 0.5f);  // "VCF Resonance"
  effect->setParameter(effect, 27, 0.6f);  // "VCF EG Intensity"
  effect->setParameter(effect, 46, 0.5f);  // "DEG3 Sustain"
  effect->setParameter(effect, 50, 0.3f);  // "MG DCO"

  std::FILE* output = std::fopen(argv[2], "wb");
  if (!output) return 1;
  std::vector<double> left(kBlock), right(kBlock), input(kBlock);
  double* inputs[] = {input.data()};
  double* outputs[] = {left.data(), right.data()};
  for (int block = 0; block < kBlocks; ++block) {
    Perform(effect, block);
    effect->processDoubleReplacing(effect, inputs, outputs, kBlock);
    for (int s = 0; s < kBlock; ++s) {
      const double frame[2] = {left[static_cast<size_t>(s)], right[static_cast<size_t>(s)]};
      std::fwrite(frame, sizeof frame, 1, output);
    }
  }
  std::fclose(output);
  Dispatch(effect, effMainsChanged, 0, 0);
  Dispatch(effect, effClose);
  return 0;
}
