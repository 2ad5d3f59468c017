#include "platform/UserFolders.h"

#include <shlobj.h>
#include <windows.h>

namespace {

std::string ShellFolder(int folder) {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

}  // namespace

std::string LocalAppDataFolder() { return ShellFolder(CSIDL_LOCAL_APPDATA); }

std::string DocumentsFolder() { return ShellFolder(CSIDL_PERSONAL); }

char PathSeparator() { return '\\'; }
