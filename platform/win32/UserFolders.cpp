#include "platform/UserFolders.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/win32/WideText.h"

namespace {

// In UTF-8, as every path inside the plug-in.
std::string ShellFolder(int folder) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return Utf8FromWide(path);
}

}  // namespace

std::string LocalAppDataFolder() {
  return ShellFolder(CSIDL_LOCAL_APPDATA);
}

std::string DocumentsFolder() {
  return ShellFolder(CSIDL_PERSONAL);
}

char PathSeparator() {
  return '\\';
}
