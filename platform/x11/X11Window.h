#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "platform/EditorWindow.h"
#include "platform/x11/LineEdit.h"
#include "platform/x11/Xlib.h"

// The editor's window on an X server, on a display connection of its own. Everything runs
// inside the host's calls (open, idle, close) with our error handler installed: Xlib's
// default one would end the host's process, e.g. when the host destroyed its window first.
// Menus, message boxes and file dialogs run short loops of their own (ModalTurn) that keep
// painting the editor but give its input to the dialog.
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
  void OpenTextEntryBox(const Rect& area, const TextStyle& style, const std::string& text) override;
  std::string TextEntryBoxText() override;
  void CloseTextEntryBox() override;
  void ShowTooltip(const std::string& text) override;
  void HideTooltip() override;
  bool OpenWebPage(const std::string& address) override;
  std::string ClipboardText() override;

  // For the dialogs.
  const Xlib& X() const { return x_; }
  Display* GetDisplay() const { return display_; }
  // A window of ours on the screen at `area` (screen pixels), not yet mapped; menus are
  // override-redirect, message boxes belong to the host's top-level window.
  Window CreateTopWindow(const Rect& area, bool overrideRedirect);
  void PutBitmap(Window target, const Bitmap& image, int x, int y);
  // The key symbol of a key event, with the shift state applied.
  KeySym KeyOf(XKeyEvent& event) const;
  // The editor window's place on the screen, and the screen's size.
  Rect ScreenArea();
  Rect ScreenSize() const;
  Window TopLevel();
  // One turn of a dialog's loop: waits up to `timeoutMs` for an X event or for `fd` (when
  // not negative) to become readable, paints exposures of the editor window and hands
  // every other event to `dialog`. Answers whether `fd` is readable.
  bool ModalTurn(const std::function<void(XEvent&)>& dialog, int fd, int timeoutMs);
  // Whether the editor's window is gone (closed by the host, or its parent destroyed).
  bool Gone() const;
  // A line of text drawn over the editor: the text entry, or the stand-in for a file dialog
  // (with a caption over the line, in a panel covering `area`).
  void ShowLine(LineEdit* edit, const Rect& area, const Rect& line, const TextStyle& style,
                const std::string& caption);
  void RedrawLine() { DrawLine(); }
  void HideLine();

 private:
  X11Window(const Xlib& x, IGraphics& graphics, Display* display, Window parent);
  void HandleEvent(XEvent& event);
  void HandleButton(const XButtonEvent& event);
  void HandleKey(XKeyEvent& event);
  void HandleFocus(const XFocusChangeEvent& event);
  void TypeIntoEntry(KeySym key);
  void PassKeyToHost(const XKeyEvent& event);
  // The nearest window from the host's upward that a client listens to `mask` on, or 0.
  Window KeyListenerAbove(long mask);
  // The window's parent, 0 for a top-level window (or a window that is gone).
  Window ParentOf(Window window);
  void DrawLine();
  void DrawTooltip();
  void RestoreFocus();

  const Xlib& x_;
  IGraphics& graphics_;
  Display* display_;
  Window parent_;
  Window window_ = 0;
  GC gc_ = nullptr;
  int depth_ = 0;
  unsigned lastClickButton_ = 0;
  Time lastClickTime_ = 0;
  std::chrono::steady_clock::time_point lastTick_;
  // X has no hover message: the pointer resting a while over the window is one.
  std::chrono::steady_clock::time_point lastMotion_;
  bool hoverReported_ = true;
  int pointerX_ = 0;  // on the screen
  int pointerY_ = 0;
  Window tooltip_ = 0;
  std::string tooltipText_;

  struct LineOverlay {
    LineEdit* edit = nullptr;
    Rect area;
    Rect line;
    TextStyle style;
    std::string caption;
  };
  LineOverlay line_;
  std::unique_ptr<LineEdit> entry_;  // the editor's text entry
  bool entryFocused_ = false;        // it has had the focus, so losing it commits
  Rect uncovered_;                   // painted again at the next idle call
  Window focusBefore_ = 0;
  int revertBefore_ = RevertToParent;
};
