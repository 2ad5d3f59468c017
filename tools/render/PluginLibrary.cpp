#include "tools/render/PluginLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "tools/render/RenderError.h"

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string ProgramFolder() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  return FolderOf(std::string(path, static_cast<size_t>(length)));
}

bool IsFile(const std::string& path) {
  return access(path.c_str(), R_OK) == 0;
}

}  // namespace

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
  if (!IsFile(path)) throw RenderError(path + ": no such plug-in file");
  // A bare name would be searched on the library path; a real host opens the file named.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) throw RenderError(path + ": not a loadable plug-in (" + dlerror() + ")");
  for (const char* name : {"VSTPluginMain", "main"}) {
    entry_ = reinterpret_cast<EntryPoint>(dlsym(handle_, name));
    if (entry_) return;
  }
  dlclose(handle_);
  throw RenderError(path + ": not a VST 2 plug-in (no VSTPluginMain or main entry point)");
}

PluginLibrary::~PluginLibrary() {
  dlclose(handle_);
}

std::string PluginLibrary::Folder() const {
  return FolderOf(path_);
}

std::string FindDefaultPlugin() {
  const std::string name = TARSYN7_PLUGIN_FILE;
  std::vector<std::string> folders = {ProgramFolder()};
  if (const char* home = std::getenv("HOME")) folders.push_back(std::string(home) + "/.vst");
  folders.insert(folders.end(), {"/usr/local/lib/vst", "/usr/lib/vst"});
  std::string tried;
  for (const std::string& folder : folders) {
    const std::string candidate = folder + "/" + name;
    if (IsFile(candidate)) return candidate;
    tried += "\n  " + candidate;
  }
  throw RenderError("cannot find the plug-in " + name + "; looked at:" + tried +
                    "\nName one with --plugin PATH");
}
