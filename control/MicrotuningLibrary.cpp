#include "control/MicrotuningLibrary.h"

#include <mutex>

#include "platform/ReentrantLock.h"

namespace {

template <typename Function>
Function Lookup(const DynamicLibrary& library, const char* name) {
  return reinterpret_cast<Function>(library.Symbol(name));
}

}  // namespace

std::shared_ptr<MicrotuningLibrary> MicrotuningLibrary::Open(
    const std::vector<std::string>& paths) {
  std::shared_ptr<MicrotuningLibrary> record(new MicrotuningLibrary());
  for (const std::string& path : paths) {
    auto library = std::make_unique<DynamicLibrary>(path);
    if (!library->Loaded()) continue;
    record->library_ = std::move(library);
    record->Resolve();
    break;
  }
  return record;
}

// Loaded under the creation lock at the first client, never from a module initialiser
// (on Windows that would run inside the loader lock); released when the module unloads.
std::shared_ptr<MicrotuningLibrary> MicrotuningLibrary::Standard() {
  std::lock_guard<ReentrantLock> guard(ProcessCreationLock());
  static const std::shared_ptr<MicrotuningLibrary> standard =
      Open(SystemLibraryPaths("libMTS.so", "LIBMTS.dll"));
  return standard;
}

// The multi-channel functions play no part: this instrument names no channel.
void MicrotuningLibrary::Resolve() {
  const DynamicLibrary& library = *library_;
  registerClient_ = Lookup<VoidFunction>(library, "MTS_RegisterClient");
  deregisterClient_ = Lookup<VoidFunction>(library, "MTS_DeregisterClient");
  hasMaster_ = Lookup<BoolFunction>(library, "MTS_HasMaster");
  shouldFilterNote_ = Lookup<FilterFunction>(library, "MTS_ShouldFilterNote");
  getScaleName_ = Lookup<TextFunction>(library, "MTS_GetScaleName");
  if (const auto getTable = Lookup<TableFunction>(library, "MTS_GetTuningTable")) {
    table_ = getTable();
  }
}

void MicrotuningLibrary::RegisterClient() const {
  if (registerClient_) registerClient_();
}

void MicrotuningLibrary::DeregisterClient() const {
  if (deregisterClient_) deregisterClient_();
}

bool MicrotuningLibrary::HasMaster() const {
  return table_ && hasMaster_ && hasMaster_();
}

double MicrotuningLibrary::MasterFrequency(int key) const {
  if (key < 0 || key > 127 || !HasMaster()) return 0.0;
  return table_[key];
}

bool MicrotuningLibrary::ShouldFilterNote(int key) const {
  if (key < 0 || key > 127 || !shouldFilterNote_ || !HasMaster()) return false;
  return shouldFilterNote_(static_cast<char>(key), static_cast<char>(-1));
}

const char* MicrotuningLibrary::ScaleName() const {
  return getScaleName_ && HasMaster() ? getScaleName_() : nullptr;
}
