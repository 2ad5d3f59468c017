#include "platform/win32/Win32PopupMenu.h"

#include "editor/PopupMenu.h"
#include "platform/win32/WideText.h"

namespace {

// The system answers 0 for a dismissed menu, and our ids start at 0: they travel one up.
constexpr UINT_PTR kIdOffset = 1;

// "&" would underline the next letter (a program named "R&B"); "&&" shows it.
std::wstring MenuText(const std::string& text) {
  std::wstring shown;
  for (wchar_t c : WideFromUtf8(text)) {
    shown += c;
    if (c == L'&') shown += L'&';
  }
  return shown;
}

HMENU BuildMenu(const PopupMenu& menu) {
  HMENU handle = CreatePopupMenu();
  if (!handle) return nullptr;
  for (int i = 0; i < menu.ItemCount(); ++i) {
    const PopupMenuItem& item = menu.Item(i);
    if (item.flags & PopupMenuItem::kSeparator) {
      AppendMenuW(handle, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (!item.Enabled()) flags |= MF_GRAYED;
    if (item.flags & PopupMenuItem::kChecked) flags |= MF_CHECKED;
    UINT_PTR id = static_cast<UINT_PTR>(menu.FirstId() + i) + kIdOffset;
    if (item.submenu) {
      HMENU submenu = BuildMenu(*item.submenu);
      if (!submenu) continue;
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(submenu);
    }
    AppendMenuW(handle, flags, id, MenuText(menu.ItemText(i)).c_str());
  }
  return handle;
}

}  // namespace

int TrackWin32PopupMenu(const PopupMenu& menu, HWND owner, POINT at) {
  HMENU handle = BuildMenu(menu);
  if (!handle) return -1;
  const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY;
  const BOOL chosen = TrackPopupMenu(handle, flags, at.x, at.y, 0, owner, nullptr);
  DestroyMenu(handle);  // and every submenu with it
  return chosen > 0 ? static_cast<int>(chosen - static_cast<BOOL>(kIdOffset)) : -1;
}
