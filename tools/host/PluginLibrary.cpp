#include "tools/host/PluginLibrary.h"

#include <vector>

#include "tools/host/OperatingSystem.h"
#include "tools/host/RenderError.h"

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
  if (!IsReadableFile(path)) throw RenderError(path + ": no such plug-in file");
  std::string error;
  handle_ = OpenLibrary(path, error);
  if (!handle_) throw RenderError(path + ": not a loadable plug-in (" + error + ")");
  for (const char* name : {"VSTPluginMain", "main"}) {
    entry_ = reinterpret_cast<EntryPoint>(LibrarySymbol(handle_, name));
    if (entry_) return;
  }
  CloseLibrary(handle_);
  throw RenderError(path + ": not a VST 2 plug-in (no VSTPluginMain or main entry point)");
}

PluginLibrary::~PluginLibrary() {
  CloseLibrary(handle_);
}

std::string PluginLibrary::Folder() const {
  return FolderOf(path_);
}

std::string FindDefaultPlugin() {
  const std::string name = TARSYN7_PLUGIN_FILE;
  std::vector<std::string> folders = PluginFolders();
  folders.insert(folders.begin(), ProgramFolder());
  std::string tried;
  for (const std::string& folder : folders) {
    const std::string candidate = JoinPath(folder, name);
    if (IsReadableFile(candidate)) return candidate;
    tried += "\n  " + candidate;
  }
  throw RenderError("cannot find the plug-in " + name + "; looked at:" + tried +
                    "\nName one with --plugin PATH");
}
