#pragma once

#include "editor/IBitmapControl.h"

// Steps through its frames on every press, from the last back to the first; a double
// click is another press.
class ISwitchControl : public IBitmapControl {
 public:
  ISwitchControl(IPlugBase* plug, int x, int y, int parameter, const BitmapStrip& strip);
  void OnMouseDown(int x, int y, const MouseModifiers& modifiers) override;
};
