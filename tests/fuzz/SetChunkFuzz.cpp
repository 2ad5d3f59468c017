// libFuzzer target: every input goes to the dispatcher as a host chunk. The first byte
// chooses: bit 0 set asks for a program chunk (index 1), else a bank (index 0); bit 1 set
// uses an instance whose host stores only program chunks. A refused chunk must leave
// every slot, every name and the live state as they were; an accepted one is played
// (keys across the range, so a stored chord reaches its extremes), and what renders
// afterwards must be finite.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/Tarsyn7.h"
#include "tests/fuzz/ProgramStoreSnapshot.h"
#include "tests/host/EventList.h"

namespace {

constexpr int kFrames = 64;

VstIntPtr VST_CALLBACK PlainHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void* ptr, float) {
  if (opcode == audioMasterGetVendorString) std::strcpy(static_cast<char*>(ptr), "Fuzz Host");
  return 0;
}

VstIntPtr VST_CALLBACK SpecialHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void* ptr, float) {
  if (opcode == audioMasterGetVendorString) {
    std::strcpy(static_cast<char*>(ptr), "Native Instruments");
  }
  return 0;
}

VstIntPtr Dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

// A running instance whose 64 slots all hold the initial sound.
Tarsyn7* Create(HostCallback host) {
  auto* plug = new Tarsyn7(host);
  for (int i = 0; i < plug->PresetCount(); ++i) {
    Preset* preset = plug->GetPreset(i);
    preset->initialised = plug->WriteState(preset->state);
  }
  AEffect* effect = plug->Effect();
  Dispatch(effect, effOpen);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(effect, effSetBlockSize, 0, kFrames);
  Dispatch(effect, effMainsChanged, 0, 1);
  return plug;
}

bool RendersFinite(AEffect* effect) {
  float left[kFrames], right[kFrames];
  float* outputs[] = {left, right};
  effect->processReplacing(effect, nullptr, outputs, kFrames);
  for (int i = 0; i < kFrames; ++i) {
    if (!std::isfinite(left[i]) || !std::isfinite(right[i])) return false;
  }
  return true;
}

bool PlaysFinite(AEffect* effect) {
  EventList down;
  down.Midi(0, 0x90, 0, 127).Midi(1, 0x90, 60, 64).Midi(2, 0x90, 127, 1);
  Dispatch(effect, effProcessEvents, 0, 0, down.List());
  const bool held = RendersFinite(effect);
  EventList up;
  up.Midi(0, 0x80, 0, 0).Midi(1, 0x80, 60, 0).Midi(2, 0x80, 127, 0).Midi(3, 0xB0, 123, 0);
  Dispatch(effect, effProcessEvents, 0, 0, up.List());
  return held && RendersFinite(effect);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Tarsyn7* const plain = Create(&PlainHost);
  static Tarsyn7* const special = Create(&SpecialHost);
  if (size < 1) return 0;
  Tarsyn7& plug = (data[0] & 2) ? *special : *plain;
  AEffect* effect = plug.Effect();
  const std::vector<uint8_t> before = Snapshot(plug);
  const VstIntPtr answer =
      Dispatch(effect, effSetChunk, (data[0] & 1) ? 1 : 0, static_cast<VstIntPtr>(size - 1),
               const_cast<uint8_t*>(data + 1));
  if (answer == 0 && Snapshot(plug) != before) __builtin_trap();
  if (answer != 0 && !PlaysFinite(effect)) __builtin_trap();
  if (!RendersFinite(effect)) __builtin_trap();
  return 0;
}
