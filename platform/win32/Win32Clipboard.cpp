#include "platform/win32/Win32Clipboard.h"

std::wstring ClipboardText(HWND owner) {
  if (!OpenClipboard(owner)) return {};
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* characters = static_cast<const wchar_t*>(GlobalLock(data))) {
      // The block may be larger than the text; it ends at the first terminator.
      text.assign(characters, wcsnlen(characters, GlobalSize(data) / sizeof(wchar_t)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}
