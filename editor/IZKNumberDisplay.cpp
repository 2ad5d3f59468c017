#include "editor/IZKNumberDisplay.h"

#include "editor/IGraphics.h"
#include "editor/PanelPlug.h"

IZKNumberDisplay::IZKNumberDisplay(IPlugBase* plug, PanelPlug& panel, const Strips& strips)
    : IControl(plug, kRect, kDisplayTag), panel_(panel), strips_(strips) {}

void IZKNumberDisplay::Draw(IGraphics& graphics) {
  const PanelDisplayState state = panel_.DisplayState();
  const BitmapStrip& digits = state.green ? strips_.greenDigits : strips_.redDigits;
  const BitmapStrip& point = state.green ? strips_.greenPoint : strips_.redPoint;
  const Rect& rect = DrawRect();
  for (size_t i = 0; i < state.digits.size(); ++i) {
    const Rect where = Rect{0, 0, digits.FrameWidth(), digits.FrameHeight()}.MovedTo(
        rect.left + kDigitX[i], rect.top + kDigitY);
    graphics.DrawStripFrame(digits, where, DigitFrame(state.digits[i]), DrawWeight());
  }
  for (size_t i = 0; i < state.points.size(); ++i) {
    const Rect where = Rect{0, 0, point.FrameWidth(), point.FrameHeight()}.MovedTo(
        rect.left + kPointX[i], rect.top + kPointY);
    graphics.DrawStripFrame(point, where, state.points[i] ? 2 : 1, DrawWeight());
  }
}
