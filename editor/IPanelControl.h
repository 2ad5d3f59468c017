#pragma once

#include "drawing/Color.h"
#include "editor/IControl.h"

// A rectangle filled with one colour.
class IPanelControl : public IControl {
 public:
  IPanelControl(IPlugBase* plug, const Rect& rect, Color color);
  void Draw(IGraphics& graphics) override;

 private:
  Color color_;
};
