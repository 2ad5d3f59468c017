#pragma once

#include "editor/BitmapStrip.h"
#include "editor/IControl.h"

// A printed label with an LED beside it: a click anywhere on it switches the parameter,
// the LED lights while it is on.
class IZKLEDSwitch : public IControl {
 public:
  IZKLEDSwitch(IPlugBase* plug, const Rect& rect, int parameter, const BitmapStrip& led,
               const Rect& ledRect);
  void Draw(IGraphics& graphics) override;
  void OnMouseDown(int x, int y, const MouseModifiers& modifiers) override;

 private:
  BitmapStrip led_;
  Rect ledRect_;
};
