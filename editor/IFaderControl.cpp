#include "editor/IFaderControl.h"

#include "editor/IGraphics.h"

namespace {

Rect TravelRect(int x, int y, int length, const BitmapStrip& handle,
                IFaderControl::Direction direction) {
  if (direction == IFaderControl::kHorizontal) return {x, y, x + length, y + handle.FrameHeight()};
  return {x, y, x + handle.FrameWidth(), y + length};
}

}  // namespace

IFaderControl::IFaderControl(IPlugBase* plug, int x, int y, int length, int parameter,
                             const BitmapStrip& handle, Direction direction, bool onlyHandle)
    : IControl(plug, TravelRect(x, y, length, handle, direction), parameter),
      length_(length),
      handle_(handle),
      direction_(direction),
      onlyHandle_(onlyHandle) {}

int IFaderControl::HandleLength() const {
  return direction_ == kHorizontal ? handle_.FrameWidth() : handle_.FrameHeight();
}

Rect IFaderControl::HandleRect() const {
  const Rect& rect = DrawRect();
  int travel = length_ - HandleLength();
  if (direction_ == kHorizontal) {
    int left = rect.left + static_cast<int>(travel * Value());
    return {left, rect.top, left + handle_.FrameWidth(), rect.bottom};
  }
  int top = rect.top + static_cast<int>(travel * (1.0 - Value()));
  return {rect.left, top, rect.right, top + handle_.FrameHeight()};
}

void IFaderControl::Draw(IGraphics& graphics) {
  graphics.DrawStripFrame(handle_, HandleRect(), 1, DrawWeight());
}

bool IFaderControl::IsHit(int x, int y) const {
  return onlyHandle_ ? HandleRect().Contains(x, y) : IControl::IsHit(x, y);
}

void IFaderControl::OnMouseDown(int x, int y, const MouseModifiers& modifiers) {
  if (modifiers.left) SnapToMouse(x, y);
}

void IFaderControl::OnMouseDrag(int x, int y, int, int, const MouseModifiers&) {
  SnapToMouse(x, y);
}

void IFaderControl::OnMouseWheel(int, int, const MouseModifiers& modifiers, double notches) {
  StepByWheel(modifiers, notches);
}

void IFaderControl::SnapToMouse(int x, int y) {
  int handle = HandleLength();
  double travel = length_ - handle;
  if (travel <= 0.0) return;
  const Rect& rect = DrawRect();
  if (direction_ == kHorizontal) {
    SetValue((x - handle / 2 - rect.left) / travel);
  } else {
    SetValue(1.0 - (y - handle / 2 - rect.top) / travel);
  }
  SetDirty(true);
}
