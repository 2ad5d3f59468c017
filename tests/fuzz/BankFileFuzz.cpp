// libFuzzer target over the FXB and FXP readers. The first byte chooses: bit 0 set reads
// the rest as a program file (bits 1 and 2: sound only, sequence only), else as a bank
// file. A refused file must leave every slot, every name and the live state as they
// were; whatever loads must render finite audio.
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/Tarsyn7.h"
#include "tests/fuzz/ProgramStoreSnapshot.h"

namespace {

constexpr int kFrames = 64;

// An instance at work whose 64 slots all hold the initial sound.
Tarsyn7* Create() {
  auto* plug = new Tarsyn7(nullptr);
  for (int i = 0; i < plug->PresetCount(); ++i) {
    Preset* preset = plug->GetPreset(i);
    preset->initialised = plug->WriteState(preset->state);
  }
  plug->ChangeSampleRate(44100.0);
  plug->ChangeBlockSize(kFrames);
  plug->ResetProcessing();
  plug->ActivationChanged(true);
  return plug;
}

bool RendersFinite(Tarsyn7& plug) {
  double left[kFrames], right[kFrames];
  double* outputs[] = {left, right};
  plug.HandleMidiMessage({0, 0x90, 60, 100});
  plug.RenderBlock(nullptr, outputs, kFrames);
  plug.HandleMidiMessage({0, 0x80, 60, 0});
  for (int i = 0; i < kFrames; ++i) {
    if (!std::isfinite(left[i]) || !std::isfinite(right[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Tarsyn7* const plug = Create();
  if (size < 1) return 0;
  const uint8_t choice = data[0];
  const std::vector<uint8_t> before = Snapshot(*plug);
  const bool loaded = (choice & 1) ? plug->LoadProgramBytes(data + 1, size - 1, (choice & 2) != 0,
                                                            (choice & 4) != 0)
                                   : plug->LoadBankBytes(data + 1, size - 1);
  if (!loaded && Snapshot(*plug) != before) __builtin_trap();
  if (!RendersFinite(*plug)) __builtin_trap();
  return 0;
}
