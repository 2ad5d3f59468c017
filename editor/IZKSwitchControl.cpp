#include "editor/IZKSwitchControl.h"

#include "editor/PanelPlug.h"

IZKSwitchControl::IZKSwitchControl(IPlugBase* plug, PanelPlug& panel, int x, int y, int tag,
                                   const BitmapStrip& strip)
    : ISwitchControl(plug, x, y, tag, strip), panel_(panel) {}

void IZKSwitchControl::Draw(IGraphics& graphics) {
  if (ParameterIndex() == kBreathTag) SetValue(panel_.UsesBreathController() ? 1.0 : 0.0);
  ISwitchControl::Draw(graphics);
}

void IZKSwitchControl::OnMouseDown(int x, int y, const MouseModifiers& modifiers) {
  if (ParameterIndex() == kBreathTag) panel_.FlipBreathController();
  ISwitchControl::OnMouseDown(x, y, modifiers);
}
