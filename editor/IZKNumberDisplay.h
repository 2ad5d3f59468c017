#pragma once

#include "editor/BitmapStrip.h"
#include "editor/IControl.h"

class PanelPlug;

// The six seven-segment digits and three points of the programmer, green in the extended
// mode and red in the Poly-800 mode; drawn from the instrument's display state.
class IZKNumberDisplay : public IControl {
 public:
  static constexpr int kDisplayTag = -82;
  static constexpr Rect kRect{528, 32, 786, 84};
  static constexpr int kDigitX[6] = {7, 40, 97, 130, 192, 225};
  static constexpr int kDigitY = 8;
  static constexpr int kPointX[3] = {29, 119, 247};
  static constexpr int kPointY = 38;

  struct Strips {
    BitmapStrip redDigits;
    BitmapStrip greenDigits;
    BitmapStrip redPoint;
    BitmapStrip greenPoint;
  };

  IZKNumberDisplay(IPlugBase* plug, PanelPlug& panel, const Strips& strips);
  void Draw(IGraphics& graphics) override;

 private:
  PanelPlug& panel_;
  Strips strips_;
};
