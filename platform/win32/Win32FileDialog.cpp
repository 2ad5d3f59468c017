#include "platform/win32/Win32FileDialog.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "platform/win32/WideText.h"

namespace {

// Room for the longest path the system accepts, not only MAX_PATH.
constexpr size_t kPathCharacters = 32768;

std::wstring DesktopFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path)))
    return {};
  return path;
}

// "*.fxb;*.fxp" shown and used as one filter: pairs of texts, the list ends with an empty one.
std::wstring FilterPairs(const std::string& filter) {
  if (filter.empty()) return std::wstring(L"*.*\0*.*\0", 8) + L'\0';
  const std::wstring wide = WideFromUtf8(filter);
  return wide + L'\0' + wide + L'\0' + L'\0';
}

// The folder part of the chosen path, without a trailing separator unless it is a root.
std::string FolderOfChoice(const std::vector<wchar_t>& path, WORD fileOffset) {
  size_t end = fileOffset;
  if (end > 1 && path[end - 1] == L'\\' && path[end - 2] != L':') --end;
  return Utf8FromWide(path.data(), end);
}

}  // namespace

std::string RunWin32FileDialog(const GraphicsBackEnd::FileRequest& request, HWND owner) {
  std::vector<wchar_t> path(kPathCharacters, L'\0');
  const std::wstring suggested = WideFromUtf8(request.suggestedName);
  suggested.copy(path.data(), std::min(suggested.size(), kPathCharacters - 1));
  const std::wstring folder =
      request.directory.empty() ? DesktopFolder() : WideFromUtf8(request.directory);
  const std::wstring filter = FilterPairs(request.filter);
  const std::wstring extension = WideFromUtf8(request.defaultExtension);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  // The dialog adds the extension itself, before it asks about overwriting, so the
  // question is about the file that is really written.
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  BOOL chosen = FALSE;
  switch (request.mode) {
    case GraphicsBackEnd::kOpenFile:
      dialog.Flags |= OFN_FILEMUSTEXIST;
      chosen = GetOpenFileNameW(&dialog);
      break;
    case GraphicsBackEnd::kSaveFile:
      dialog.Flags |= OFN_OVERWRITEPROMPT;
      chosen = GetSaveFileNameW(&dialog);
      break;
    case GraphicsBackEnd::kChooseFolder:
      // A save dialog whose file name only confirms the folder it is in.
      dialog.lpstrDefExt = nullptr;
      chosen = GetSaveFileNameW(&dialog);
      if (chosen) return FolderOfChoice(path, dialog.nFileOffset);
      break;
  }
  return chosen ? Utf8FromWide(path.data(), wcsnlen(path.data(), path.size())) : std::string();
}
