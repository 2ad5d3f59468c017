#pragma once

#include "editor/BitmapStrip.h"
#include "editor/IKnobControl.h"

// A knob drawn as one frame of a many-frame strip, placed at (x, y).
class IKnobMultiControl : public IKnobControl {
 public:
  IKnobMultiControl(IPlugBase* plug, int x, int y, int parameter, const BitmapStrip& strip,
                    Direction direction = kVertical, double gearing = 4.0);
  void Draw(IGraphics& graphics) override;

 private:
  BitmapStrip strip_;
};
