#include "editor/IZKParamPanelControl.h"

#include "editor/IGraphics.h"
#include "editor/PanelPlug.h"
#include "host/IPlugBase.h"

namespace {

TextStyle ValueStyle() {
  TextStyle style;
  style.font = "Arial";
  style.size = 15;
  style.color = {255, 224, 208, 192};
  return style;
}

}  // namespace

IZKParamPanelControl::IZKParamPanelControl(IPlugBase* plug, PanelPlug& panel, int x, int y,
                                           int parameter, const BitmapStrip& handle,
                                           const BitmapStrip& track)
    : IFaderControl(plug, x, y, kTravel, parameter, handle, kVertical),
      panel_(panel),
      track_(track) {}

bool IZKParamPanelControl::IsShown() const {
  return hover_ || panel_.ShowsAllParameters();
}

void IZKParamPanelControl::Draw(IGraphics& graphics) {
  if (!IsShown()) return;
  graphics.DrawStripFrame(track_, DrawRect(), 1, DrawWeight());
  IFaderControl::Draw(graphics);
  if (Plug()) {
    static const TextStyle style = ValueStyle();
    const Rect handle = HandleRect();
    // The text's line is centred on the handle.
    const Rect line{handle.left, handle.top + (handle.Height() - style.size) / 2, handle.right,
                    handle.bottom};
    graphics.GetCanvas().DrawText(Plug()->ParameterDisplayText(ParameterIndex()), style, line);
  }
}

void IZKParamPanelControl::OnMouseDown(int, int, const MouseModifiers&) {
  panel_.SelectParameter(ParameterIndex());
}

void IZKParamPanelControl::OnMouseOver(int, int, const MouseModifiers&) {
  SetHover(true);
}

void IZKParamPanelControl::OnMouseOut() {
  SetHover(false);
}

void IZKParamPanelControl::SetHover(bool hover) {
  if (hover == hover_) return;
  hover_ = hover;
  SetDirty(false);
}
