#pragma once

#include <string>
#include <vector>

// A shared library loaded at run time: dlopen on POSIX systems, LoadLibrary on Windows.
class DynamicLibrary {
 public:
  explicit DynamicLibrary(const std::string& path);
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  bool Loaded() const { return handle_ != nullptr; }
  // The address of an exported symbol, or null.
  void* Symbol(const char* name) const;
  // Why loading failed, as the system tells it.
  const std::string& Error() const { return error_; }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

// Where a library the system's users install is looked for, in order: on POSIX systems
// /usr/local/lib and then the loader's own search path (the bare name); on Windows the
// system folder.
std::vector<std::string> SystemLibraryPaths(const std::string& posixName,
                                            const std::string& windowsName);
