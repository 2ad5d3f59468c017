#pragma once

#include "editor/IControl.h"

// Turned by dragging along its direction: the full range takes the control's own size
// times `gearing` pixels, ten times more with shift or control held.
class IKnobControl : public IControl {
 public:
  enum Direction { kHorizontal, kVertical };

  IKnobControl(IPlugBase* plug, const Rect& rect, int parameter, Direction direction = kVertical,
               double gearing = 4.0);

  void OnMouseDrag(int x, int y, int dx, int dy, const MouseModifiers& modifiers) override;
  void OnMouseWheel(int x, int y, const MouseModifiers& modifiers, double notches) override;

 private:
  Direction direction_;
  double gearing_;
};
