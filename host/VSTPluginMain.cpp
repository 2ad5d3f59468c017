#include <mutex>
#include <new>

#include "engine/Tarsyn7.h"
#include "platform/Export.h"
#include "platform/ReentrantLock.h"

namespace {

// Slots no bank filled start as the initial sound under the name "Empty".
void FillEmptyPresets(Tarsyn7& plug) {
  for (int i = 0; i < plug.PresetCount(); ++i) {
    Preset* preset = plug.GetPreset(i);
    if (preset->initialised) continue;
    preset->state.Clear();
    preset->initialised = plug.WriteState(preset->state);
    preset->SetName("Empty");
  }
}

}  // namespace

TARSYN7_EXPORT AEffect* VSTPluginMain(HostCallback host) {
  std::lock_guard<ReentrantLock> guard(ProcessCreationLock());
  Tarsyn7* plug = nullptr;
  try {
    plug = new Tarsyn7(host);
  } catch (...) {
    return nullptr;  // nothing may be thrown into the host
  }
  FillEmptyPresets(*plug);
  AEffect* effect = plug->Effect();
  if (effect->numPrograms < 1) effect->numPrograms = 1;
  return effect;
}

TARSYN7_EXPORT_AS_MAIN(AEffect*, VSTPluginMain, HostCallback)
