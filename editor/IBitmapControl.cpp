#include "editor/IBitmapControl.h"

#include "editor/IGraphics.h"

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, int parameter,
                               const BitmapStrip& strip)
    : IControl(plug, {x, y, x + strip.FrameWidth(), y + strip.FrameHeight()}, parameter),
      strip_(strip) {}

void IBitmapControl::Draw(IGraphics& graphics) {
  graphics.DrawStripFrame(strip_, DrawRect(), FrameForValue(Value(), strip_.frames), DrawWeight());
}
