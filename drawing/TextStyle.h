#pragma once

#include <string>

#include "drawing/Color.h"

// How text is drawn: face, pixel size, colour, weight and alignment in its rectangle,
// plus the colours of an in-place text entry showing it. Every face name is drawn with
// the embedded sans-serif font, so both platforms show the same pixels.
struct TextStyle {
  enum Weight { kNormal = 0, kBold = 1, kItalic = 2 };
  enum Align { kLeft = 0, kCenter = 1, kRight = 2 };

  std::string font = "Verdana";
  int size = 12;
  Color color{255, 0, 0, 0};
  Color entryBackground{255, 255, 255, 255};
  Color entryText{255, 0, 0, 0};
  Weight weight = kNormal;
  Align align = kCenter;
  int orientation = 0;
  int quality = 0;
};
