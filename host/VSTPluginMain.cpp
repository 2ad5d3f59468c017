#include <memory>
#include <mutex>

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
  try {
    auto plug = std::make_unique<Tarsyn7>(host);
    FillEmptyPresets(*plug);
    AEffect* effect = plug.release()->Effect();
    if (effect->numPrograms < 1) effect->numPrograms = 1;
    return effect;
  } catch (...) {
    return nullptr;  // nothing may be thrown into the host
  }
}

TARSYN7_EXPORT_AS_MAIN(AEffect*, VSTPluginMain, HostCallback)
