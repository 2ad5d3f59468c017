#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "drawing/Rect.h"
#include "drawing/TextStyle.h"
#include "editor/MouseModifiers.h"

class IGraphics;
class IPlugBase;

// One element of the editor: where it draws and takes clicks, the parameter it is bound
// to (a negative index is a tag: no parameter, no host notifications) and its normalised
// value. Everything but marking dirty happens on the editor's thread.
class IControl {
 public:
  IControl(IPlugBase* plug, const Rect& rect, int parameter = -1);
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  virtual ~IControl() = default;
  virtual void OnMouseDown(int x, int y, const MouseModifiers& modifiers);
  virtual void OnMouseUp(int x, int y, const MouseModifiers& modifiers);
  virtual void OnMouseDrag(int x, int y, int dx, int dy, const MouseModifiers& modifiers);
  virtual void OnMouseDblClick(int x, int y, const MouseModifiers& modifiers);
  virtual void OnMouseWheel(int x, int y, const MouseModifiers& modifiers, double notches);
  virtual bool OnKeyDown(int x, int y, int key);  // true when taken
  virtual void OnMouseOver(int x, int y, const MouseModifiers& modifiers);
  virtual void OnMouseOut();
  virtual void Draw(IGraphics& graphics) = 0;
  virtual void SetValueFromPlug(double value);
  virtual void SetValueFromUserInput(double value);
  virtual void SetText(const std::string& text);
  virtual void Hide(bool hide);
  virtual void GrayOut(bool gray);
  virtual bool IsHit(int x, int y) const;
  virtual void SetDirty(bool push = true);
  virtual void SetClean();
  virtual bool IsDirty() const;

  // Asks for a repaint; the one operation other threads may call.
  void Redraw() { dirty_ = true; }
  // Answers whether the control was dirty and clears the flag, so that a repaint asked
  // for while painting is kept.
  bool TakeDirty() { return dirty_.exchange(false); }

  int ParameterIndex() const { return parameter_; }
  bool IsBound() const { return parameter_ >= 0; }
  double Value() const { return value_; }
  double DefaultValue() const { return default_; }
  // Where the control draws; its dirty area. Clicks hit the target rectangle.
  const Rect& DrawRect() const { return rect_; }
  const Rect& TargetRect() const { return targetRect_; }
  bool IsHidden() const { return hidden_; }
  bool IsGrayed() const { return grayed_; }
  double DrawWeight() const { return grayed_ ? 0.25 : 1.0; }
  bool DblClickActsAsClick() const { return dblAsClick_; }
  bool MouseOverWhenGrayed() const { return mouseOverWhenGrayed_; }
  const TextStyle& Style() const { return style_; }
  int TextEntryLength() const { return textEntryLength_; }
  const std::string& Tooltip() const { return tooltip_; }

 protected:
  IPlugBase* Plug() const { return plug_; }
  void SetValue(double value) { value_ = value; }
  void SetTargetRect(const Rect& rect) { targetRect_ = rect; }
  void SetDrawRect(const Rect& rect) { rect_ = rect; }
  void SetDblClickActsAsClick(bool on) { dblAsClick_ = on; }
  void SetStyle(const TextStyle& style) { style_ = style; }
  void SetTextEntryLength(int length) { textEntryLength_ = length; }
  void SetTooltip(const std::string& text) { tooltip_ = text; }
  // Adds notches of 0.01 (0.001 with shift or control) and pushes.
  void StepByWheel(const MouseModifiers& modifiers, double notches);

 private:
  IPlugBase* plug_;
  Rect rect_;
  Rect targetRect_;
  int parameter_;
  double value_ = 0.0;
  double default_ = -1.0;
  TextStyle style_;
  int textEntryLength_ = 7;
  std::string tooltip_;
  bool hidden_ = false;
  bool grayed_ = false;
  bool dblAsClick_ = false;
  bool mouseOverWhenGrayed_ = false;
  std::atomic<bool> dirty_{true};
  bool redrawPending_ = false;
};
