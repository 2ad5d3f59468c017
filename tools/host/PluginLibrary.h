#pragma once

#include <string>

#include "host/Vst2.h"

// A VST 2.4 plug-in binary, opened to reach its published entry point.
class PluginLibrary {
 public:
  using EntryPoint = AEffect*(VST_CALLBACK*)(HostCallback host);

  // Throws RenderError when the file cannot be loaded or exports no entry point.
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  EntryPoint Entry() const { return entry_; }
  std::string Folder() const;

 private:
  std::string path_;
  void* handle_ = nullptr;
  EntryPoint entry_ = nullptr;
};

// The Tarsyn7 plug-in this program plays when no other is named: the one built next to
// it, else an installed one. Throws RenderError, listing the places tried, when none is.
std::string FindDefaultPlugin();
