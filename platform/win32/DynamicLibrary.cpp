#include "platform/DynamicLibrary.h"

#include <windows.h>

DynamicLibrary::DynamicLibrary(const std::string& path) {
  handle_ = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
  if (!handle_) error_ = "LoadLibrary failed with error " + std::to_string(GetLastError());
}

DynamicLibrary::~DynamicLibrary() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* DynamicLibrary::Symbol(const char* name) const {
  return handle_ ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name))
                 : nullptr;
}

// The system folder as long as the system says it is (asked for its length first).
std::vector<std::string> SystemLibraryPaths(const std::string&, const std::string& windowsName) {
  const UINT length = GetSystemDirectoryA(nullptr, 0);
  if (length == 0) return {};
  std::string folder(length, '\0');
  const UINT written = GetSystemDirectoryA(folder.data(), length);
  if (written == 0 || written >= length) return {};
  folder.resize(written);
  return {folder + "\\" + windowsName};
}
