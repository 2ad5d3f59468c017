#include "editor/IZKSliderControl.h"

#include "control/ParameterIndex.h"
#include "editor/PanelPlug.h"

IZKSliderControl::IZKSliderControl(IPlugBase* plug, PanelPlug& panel, int x, int y, int parameter,
                                   const BitmapStrip& handle, Direction direction)
    : IFaderControl(plug, x, y, kTravel, parameter, handle, direction, true), panel_(panel) {}

void IZKSliderControl::OnMouseOver(int, int, const MouseModifiers&) {
  if (ParameterIndex() == kTune) SetTooltip(panel_.TuningDescription());
}
