#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "drawing/Bitmap.h"
#include "drawing/Canvas.h"
#include "editor/BitmapStrip.h"
#include "editor/GraphicsBackEnd.h"
#include "editor/IControl.h"
#include "editor/PopupMenu.h"
#include "editor/TextEntry.h"

class IPlugBase;

// The editor object: created with the plug-in and alive as long as it; the host only
// opens and closes its window, whose system side is a GraphicsBackEnd. It owns the
// controls, paints the dirty ones, routes input and offers menus, text entry and dialogs.
// Other threads only store parameter values (UpdateControlsForParameter) and ask
// controls for a repaint; the editor's thread applies and draws them.
class IGraphics {
 public:
  static constexpr int kFrameRate = 25;  // the idle timer runs every 1000 / 25 ms
  static constexpr int kCleanTicksPerIdle = 21;

  IGraphics(IPlugBase* plug, int width, int height);
  virtual ~IGraphics();
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  void Resize(int width, int height);
  // Makes the back buffer for the editor's size.
  bool PrepareDraw();

  // Controls, in drawing order; the editor owns them.
  int AttachControl(IControl* control);
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  IControl* GetControl(int index) const;

  // Bitmaps by resource id from the process-wide cache; a name whose extension is not
  // "png" (any case) gives a strip without image.
  BitmapStrip LoadStrip(int id, const std::string& fileName, int frames);

  // Any thread: the value reaches the bound controls on the editor's thread.
  void SetControlsFromParameter(int parameter, double normalized);
  void UpdateControlsForParameter(int parameter, double value, bool normalised);

  // The window.
  bool OpenWindow(GraphicsBackEnd* backEnd);
  void CloseWindow();
  bool WindowIsOpen() const { return backEnd_ != nullptr; }
  // Whether a menu, message box or file dialog is waiting for the user. Its loop runs on the
  // window's side, so the window must outlive it even when the host closes the editor.
  bool InModalCall() const { return modalDepth_ > 0; }
  void OnTimer();  // every 40 ms
  void Paint(const Rect& area);
  void SetMouseOverHandling(bool on) { mouseOver_ = on; }
  void SetTooltips(bool on) { tooltips_ = on; }

  // Input from the window, in window pixels.
  void OnMouseDown(int x, int y, const MouseModifiers& modifiers);
  void OnMouseUp(int x, int y, const MouseModifiers& modifiers);
  void OnMouseDrag(int x, int y, const MouseModifiers& modifiers);
  void OnMouseMove(int x, int y, const MouseModifiers& modifiers);
  void OnMouseDblClick(int x, int y, const MouseModifiers& modifiers);
  void OnMouseWheel(int x, int y, const MouseModifiers& modifiers, double notches);
  void OnMouseHover();
  void OnMouseLeave();
  // A key translated by EditorKeyCode (KeyCodes.h); false when no control takes it and
  // the window passes it on to the host.
  bool OnKeyDown(int x, int y, int key);
  int CapturedControl() const { return captured_; }

  // Text entry; the window reports Enter (commit), Escape (cancel) and loss of focus.
  void OpenTextEntry(IControl* control, const TextStyle& style, const Rect& area,
                     const std::string& text);
  void RequestTextEntryCommit();
  void RequestTextEntryCancel();
  const TextEntry& GetTextEntry() const { return textEntry_; }

  // Dialogs. A dismissed menu answers nullptr; otherwise the (sub)menu holding the chosen
  // entry, its chosen index set.
  PopupMenu* ShowPopupMenu(PopupMenu& menu, const Rect& area);
  GraphicsBackEnd::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                             GraphicsBackEnd::MessageStyle style);
  // `extensions` without dots, space-separated ("fxb fxp"); `fileName` comes in as the
  // suggested name. The chosen full path in `fileName` (a saved one ending in the first
  // extension), its folder in `directory`; kChooseFolder gives the chosen folder in both.
  // An empty file name when cancelled or without a window.
  void ChooseFile(std::string& fileName, GraphicsBackEnd::FileMode mode, std::string& directory,
                  const std::string& extensions);
  bool OpenWebPage(const std::string& address, const std::string& caption,
                   const std::string& confirmation, const std::string& error);
  std::string ReadClipboardText();

  // Drawing, for the controls.
  Canvas& GetCanvas() { return canvas_; }
  void DrawStripFrame(const BitmapStrip& strip, const Rect& where, int frame, double weight);
  const Bitmap& BackBuffer() const { return buffer_; }

 private:
  struct PendingValue {
    std::atomic<double> value{0.0};
    std::atomic<bool> waiting{false};
  };

  class ModalCall;

  void ApplyPendingValues();
  void EndCapture();
  void GiveValueToControls(int parameter, double normalized);
  void CommitTextEntry();
  int ControlAt(int x, int y, bool forMouseOver) const;
  void BeginCapture(int index, const MouseModifiers& modifiers, int x, int y);
  void MarkAllDirty();
  bool AddDefaultExtension(std::string& fileName, const GraphicsBackEnd::FileRequest& request);

  IPlugBase* plug_;
  int width_;
  int height_;
  std::vector<std::unique_ptr<IControl>> controls_;
  std::unique_ptr<PendingValue[]> pending_;
  int pendingCount_ = 0;
  std::atomic<bool> anyPending_{false};

  GraphicsBackEnd* backEnd_ = nullptr;
  Bitmap buffer_;
  Canvas canvas_;
  bool mouseOver_ = false;
  bool tooltips_ = false;
  int cleanTicks_ = 0;
  int captured_ = -1;
  bool capturedByRight_ = false;
  bool gestureOpen_ = false;
  int lastX_ = 0;
  int lastY_ = 0;
  int hovered_ = -1;
  int tooltipControl_ = -1;
  TextEntry textEntry_;
  int modalDepth_ = 0;
};
