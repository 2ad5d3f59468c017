#pragma once

#include "editor/IKnobMultiControl.h"

// The volume knob: 65 frames, turned by vertical drags, a full sweep in 320 pixels.
class IZKKnobControl : public IKnobMultiControl {
 public:
  static constexpr int kX = 41;
  static constexpr int kY = 144;

  IZKKnobControl(IPlugBase* plug, int parameter, const BitmapStrip& strip)
      : IKnobMultiControl(plug, kX, kY, parameter, strip, kVertical, 4.0) {}
};
