#pragma once

#include <windows.h>

#include <memory>

#include "platform/EditorWindow.h"
#include "platform/win32/Win32TextEntryBox.h"
#include "platform/win32/Win32Tooltip.h"

// The editor's child window inside the host's window. The host's message loop drives it:
// its own 40 ms timer, paint requests, mouse and keys; the host's idle calls add nothing.
// The host may destroy its window (and ours with it) before it closes the editor.
class Win32Window : public EditorWindow {
 public:
  static std::unique_ptr<Win32Window> Open(IGraphics& graphics, HWND parent);
  ~Win32Window() override;

  void Idle() override {}
  HWND Handle() const { return window_; }

  void Present(const Bitmap& buffer, const Rect& area) override;
  int TrackPopupMenu(const PopupMenu& menu, int x, int y) override;
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                            MessageStyle style) override;
  std::string ChooseFile(const FileRequest& request) override;
  void OpenTextEntryBox(const Rect& area, const TextStyle& style, const std::string& text) override;
  std::string TextEntryBoxText() override;
  void CloseTextEntryBox() override;
  void ShowTooltip(const std::string& text) override;
  void HideTooltip() override;
  bool OpenWebPage(const std::string& address) override;
  std::string ClipboardText() override;

 private:
  explicit Win32Window(IGraphics& graphics) : graphics_(graphics) {}
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnButton(UINT message, WPARAM wParam, LPARAM lParam);
  void OnMouseMove(WPARAM wParam, LPARAM lParam);
  void OnWheel(WPARAM wParam, LPARAM lParam);
  void OnPaint();
  // Answers whether the key was the editor's; every other one goes to the host's window.
  bool OnKey(UINT message, WPARAM wParam, LPARAM lParam);
  void PassKeyOn(UINT message, WPARAM wParam, LPARAM lParam);

  IGraphics& graphics_;
  HWND window_ = nullptr;
  HDC paintDc_ = nullptr;  // while painting for WM_PAINT
  std::unique_ptr<Win32Tooltip> tooltip_;
  std::unique_ptr<Win32TextEntryBox> entry_;
  bool ownsClass_ = false;
  int mouseX_ = -1;  // the last pointer position; -1 when it left the window
  int mouseY_ = -1;
  int wheelRest_ = 0;  // fine wheels turn by parts of a notch
  bool passingKeyOn_ = false;
};
