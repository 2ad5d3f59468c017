#include "editor/IKnobMultiControl.h"

#include "editor/IGraphics.h"

IKnobMultiControl::IKnobMultiControl(IPlugBase* plug, int x, int y, int parameter,
                                     const BitmapStrip& strip, Direction direction, double gearing)
    : IKnobControl(plug, {x, y, x + strip.FrameWidth(), y + strip.FrameHeight()}, parameter,
                   direction, gearing),
      strip_(strip) {}

void IKnobMultiControl::Draw(IGraphics& graphics) {
  graphics.DrawStripFrame(strip_, DrawRect(), KnobFrameForValue(Value(), strip_.frames),
                          DrawWeight());
}
