#include "platform/ModuleResources.h"

#include <windows.h>

namespace {

// The DLL (or program) this code was linked into, not the host's executable.
HMODULE OwnModule() {
  static const char anchor = 0;
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      &anchor, &module);
  return module;
}

bool FindInModule(const char* type, LPCSTR name, ModuleResource& resource) {
  if (type == nullptr || name == nullptr) return false;
  HMODULE module = OwnModule();
  HRSRC info = FindResourceA(module, name, type);
  if (info == nullptr) return false;
  HGLOBAL handle = LoadResource(module, info);
  const void* data = handle != nullptr ? LockResource(handle) : nullptr;
  if (data == nullptr) return false;
  resource.data = static_cast<const uint8_t*>(data);
  resource.size = SizeofResource(module, info);
  return true;
}

}  // namespace

bool FindModuleResource(const char* type, const char* name, ModuleResource& resource) {
  return FindInModule(type, name, resource);
}

bool FindModuleResource(const char* type, int id, ModuleResource& resource) {
  if (id < 0 || id > 0xFFFF) return false;
  return FindInModule(type, MAKEINTRESOURCEA(id), resource);
}
