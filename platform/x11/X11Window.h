#pragma once

#include <chrono>
#include <memory>

#include "platform/EditorWindow.h"
#include "platform/x11/Xlib.h"

// The editor's window on an X server, on a display connection of its own. Everything runs
// inside the host's calls (open, idle, close) with our error handler installed: Xlib's
// default one would end the host's process, e.g. when the host destroyed its window first.
class X11Window : public EditorWindow {
 public:
  static std::unique_ptr<X11Window> Open(IGraphics& graphics, Window parent);
  ~X11Window() override;

  void Idle() override;
  Window Handle() const { return window_; }

  void Present(const Bitmap& buffer, const Rect& area) override;
  int TrackPopupMenu(const PopupMenu& menu, int x, int y) override;
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                            MessageStyle style) override;
  std::string ChooseFile(const FileRequest& request) override;
  void OpenTextEntryBox(const Rect&, const TextStyle&, const std::string&) override {}
  std::string TextEntryBoxText() override { return {}; }
  void CloseTextEntryBox() override {}
  void ShowTooltip(const std::string&) override {}
  void HideTooltip() override {}
  bool OpenWebPage(const std::string& address) override;
  std::string ClipboardText() override { return {}; }

 private:
  X11Window(const Xlib& x, IGraphics& graphics, Display* display);
  void HandleEvent(const XEvent& event);
  void HandleButton(const XButtonEvent& event);

  const Xlib& x_;
  IGraphics& graphics_;
  Display* display_;
  Window window_ = 0;
  GC gc_ = nullptr;
  int depth_ = 0;
  unsigned lastClickButton_ = 0;
  Time lastClickTime_ = 0;
  std::chrono::steady_clock::time_point lastTick_;
};
