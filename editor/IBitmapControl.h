#pragma once

#include "editor/BitmapStrip.h"
#include "editor/IControl.h"

// Shows the frame of its strip that its value chooses; the rectangle is one frame at
// (x, y).
class IBitmapControl : public IControl {
 public:
  IBitmapControl(IPlugBase* plug, int x, int y, int parameter, const BitmapStrip& strip);
  void Draw(IGraphics& graphics) override;

 protected:
  const BitmapStrip& Strip() const { return strip_; }

 private:
  BitmapStrip strip_;
};
