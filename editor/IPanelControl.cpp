#include "editor/IPanelControl.h"

#include "editor/IGraphics.h"

IPanelControl::IPanelControl(IPlugBase* plug, const Rect& rect, Color color)
    : IControl(plug, rect), color_(color) {}

void IPanelControl::Draw(IGraphics& graphics) {
  graphics.GetCanvas().FillRect(DrawRect(), color_);
}
