#include "editor/IZKLEDSwitch.h"

#include "editor/IGraphics.h"

IZKLEDSwitch::IZKLEDSwitch(IPlugBase* plug, const Rect& rect, int parameter, const BitmapStrip& led,
                           const Rect& ledRect)
    : IControl(plug, rect, parameter), led_(led), ledRect_(ledRect) {}

void IZKLEDSwitch::Draw(IGraphics& graphics) {
  if (Value() >= 0.5) graphics.DrawStripFrame(led_, ledRect_, 1, DrawWeight());
}

void IZKLEDSwitch::OnMouseDown(int, int, const MouseModifiers&) {
  SetValue(1.0 - Value());
  SetDirty(true);
}
