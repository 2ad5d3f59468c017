#pragma once

#include <windows.h>

#include <string>

#include "drawing/Rect.h"
#include "drawing/TextStyle.h"

class IGraphics;

// The in-place text entry: a single-line edit control over the control that asked for it.
// Enter asks the editor to commit, Escape to cancel, losing the focus commits; typed and
// pasted characters go through the editor's filter for the edited value.
class Win32TextEntryBox {
 public:
  Win32TextEntryBox(IGraphics& graphics, HWND parent, const Rect& area, const TextStyle& style,
                    const std::string& text);
  ~Win32TextEntryBox();
  Win32TextEntryBox(const Win32TextEntryBox&) = delete;
  Win32TextEntryBox& operator=(const Win32TextEntryBox&) = delete;

  bool IsOpen() const { return edit_ != nullptr; }
  std::string Text() const;
  // The colours of the box, for the parent's WM_CTLCOLOREDIT.
  HBRUSH Paint(HDC dc) const;
  HWND Window() const { return edit_; }

 private:
  static LRESULT CALLBACK Procedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Inserts what the filter lets through, in place of the selection.
  void Insert(const std::wstring& typed);

  IGraphics& graphics_;
  HWND edit_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH background_ = nullptr;
  COLORREF textColour_ = 0;
  COLORREF backgroundColour_ = 0;
  WNDPROC editProcedure_ = nullptr;
  wchar_t highSurrogate_ = 0;
};
