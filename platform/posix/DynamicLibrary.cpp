#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

DynamicLibrary::DynamicLibrary(const std::string& path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* error = dlerror();
    error_ = error ? error : "dlopen failed";
  }
}

DynamicLibrary::~DynamicLibrary() {
  if (handle_) dlclose(handle_);
}

void* DynamicLibrary::Symbol(const char* name) const {
  return handle_ ? dlsym(handle_, name) : nullptr;
}

std::vector<std::string> SystemLibraryPaths(const std::string& posixName, const std::string&) {
  return {"/usr/local/lib/" + posixName, posixName};
}
