#include "editor/IControl.h"

#include <algorithm>
#include <cmath>

#include "host/IPlugBase.h"

IControl::IControl(IPlugBase* plug, const Rect& rect, int parameter)
    : plug_(plug), rect_(rect), targetRect_(rect), parameter_(parameter) {}

// Right clicks would open a value prompt, which no control of this editor offers.
void IControl::OnMouseDown(int, int, const MouseModifiers&) {}
void IControl::OnMouseUp(int, int, const MouseModifiers&) {}
void IControl::OnMouseDrag(int, int, int, int, const MouseModifiers&) {}

void IControl::OnMouseDblClick(int, int, const MouseModifiers&) {
  if (default_ < 0.0) return;
  value_ = default_;
  SetDirty(true);
}

void IControl::OnMouseWheel(int, int, const MouseModifiers&, double) {}
bool IControl::OnKeyDown(int, int, int) {
  return false;
}
void IControl::OnMouseOver(int, int, const MouseModifiers&) {}
void IControl::OnMouseOut() {}

void IControl::SetValueFromPlug(double value) {
  if (default_ < 0.0) default_ = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
  if (value == value_) return;
  value_ = value;
  SetDirty(false);
  redrawPending_ = true;
}

void IControl::SetValueFromUserInput(double value) {
  if (value == value_) return;
  value_ = value;
  SetDirty(true);
  redrawPending_ = true;
}

void IControl::SetText(const std::string&) {}

void IControl::Hide(bool hide) {
  hidden_ = hide;
  SetDirty(false);
}

void IControl::GrayOut(bool gray) {
  grayed_ = gray;
  SetDirty(false);
}

bool IControl::IsHit(int x, int y) const {
  return targetRect_.Contains(x, y);
}

void IControl::SetDirty(bool push) {
  value_ = std::isnan(value_) ? 0.0 : std::clamp(value_, 0.0, 1.0);
  dirty_ = true;
  if (push && IsBound() && plug_) plug_->SetParameterFromEditor(parameter_, value_);
}

void IControl::SetClean() {
  if (redrawPending_) dirty_ = true;
  redrawPending_ = false;
}

bool IControl::IsDirty() const {
  return dirty_;
}

void IControl::StepByWheel(const MouseModifiers& modifiers, double notches) {
  value_ += notches * (modifiers.shift || modifiers.control ? 0.001 : 0.01);
  SetDirty(true);
}
