#pragma once

#include <windows.h>

#include <string>

// A tooltip that follows the pointer over `owner`, shown and hidden on request. Without
// the system's tooltip class (no common controls) it stays unavailable.
class Win32Tooltip {
 public:
  explicit Win32Tooltip(HWND owner);
  ~Win32Tooltip();
  Win32Tooltip(const Win32Tooltip&) = delete;
  Win32Tooltip& operator=(const Win32Tooltip&) = delete;

  bool Available() const { return tip_ != nullptr; }
  void Show(const std::string& text);
  void Hide();

 private:
  HWND owner_;
  HWND tip_ = nullptr;
};
