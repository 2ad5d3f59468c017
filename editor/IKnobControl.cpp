#include "editor/IKnobControl.h"

IKnobControl::IKnobControl(IPlugBase* plug, const Rect& rect, int parameter, Direction direction,
                           double gearing)
    : IControl(plug, rect, parameter), direction_(direction), gearing_(gearing) {}

void IKnobControl::OnMouseDrag(int, int, int dx, int dy, const MouseModifiers& modifiers) {
  double gearing = modifiers.shift || modifiers.control ? gearing_ * 10.0 : gearing_;
  const Rect& rect = DrawRect();
  if (direction_ == kVertical) {
    SetValue(Value() + dy / static_cast<double>(rect.top - rect.bottom) / gearing);
  } else {
    SetValue(Value() + dx / static_cast<double>(rect.right - rect.left) / gearing);
  }
  SetDirty(true);
}

void IKnobControl::OnMouseWheel(int, int, const MouseModifiers& modifiers, double notches) {
  StepByWheel(modifiers, notches);
}
