#pragma once

#include "editor/BitmapStrip.h"
#include "editor/IControl.h"

// A handle travelling `length` pixels from (x, y), horizontally or vertically (value 1 at
// the right or the top). Clicks and drags put the handle's centre under the pointer.
class IFaderControl : public IControl {
 public:
  enum Direction { kHorizontal, kVertical };

  IFaderControl(IPlugBase* plug, int x, int y, int length, int parameter, const BitmapStrip& handle,
                Direction direction, bool onlyHandle = false);

  void OnMouseDown(int x, int y, const MouseModifiers& modifiers) override;
  void OnMouseDrag(int x, int y, int dx, int dy, const MouseModifiers& modifiers) override;
  void OnMouseWheel(int x, int y, const MouseModifiers& modifiers, double notches) override;
  void Draw(IGraphics& graphics) override;
  bool IsHit(int x, int y) const override;
  virtual void SnapToMouse(int x, int y);

  // Where the handle stands for the current value.
  Rect HandleRect() const;

 protected:
  const BitmapStrip& Handle() const { return handle_; }

 private:
  int HandleLength() const;

  int length_;
  BitmapStrip handle_;
  Direction direction_;
  bool onlyHandle_;
};
