#include "platform/win32/Win32Tooltip.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"

namespace {

// The pointer's own picture covers the tip's corner at the hot spot.
constexpr int kOffsetBelowPointer = 20;

// The record size every version of the common controls accepts.
TOOLINFOW ToolOf(HWND owner) {
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(owner);
  return tool;
}

}  // namespace

Win32Tooltip::Win32Tooltip(HWND owner) : owner_(owner) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  if (!InitCommonControlsEx(&controls)) return;
  tip_ = CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), nullptr);
  if (!tip_) return;
  TOOLINFOW tool = ToolOf(owner_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  if (!SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    DestroyWindow(tip_);
    tip_ = nullptr;
  }
}

Win32Tooltip::~Win32Tooltip() {
  if (tip_) DestroyWindow(tip_);
}

void Win32Tooltip::Show(const std::string& text) {
  if (!tip_ || text.empty()) return Hide();
  std::wstring wide = WideFromUtf8(text);
  TOOLINFOW tool = ToolOf(owner_);
  tool.lpszText = &wide[0];
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  POINT pointer{};
  GetCursorPos(&pointer);
  SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(pointer.x, pointer.y + kOffsetBelowPointer));
  SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void Win32Tooltip::Hide() {
  if (!tip_) return;
  TOOLINFOW tool = ToolOf(owner_);
  SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}
