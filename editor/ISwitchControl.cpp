#include "editor/ISwitchControl.h"

ISwitchControl::ISwitchControl(IPlugBase* plug, int x, int y, int parameter,
                               const BitmapStrip& strip)
    : IBitmapControl(plug, x, y, parameter, strip) {
  SetDblClickActsAsClick(true);
}

void ISwitchControl::OnMouseDown(int, int, const MouseModifiers&) {
  int frames = Strip().frames;
  double value = Value() + (frames < 2 ? 1.0 : 1.0 / (frames - 1));
  SetValue(value > 1.001 ? 0.0 : value);
  SetDirty(true);
}
