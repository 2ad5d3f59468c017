#include "drawing/Bitmap.h"

#include <algorithm>

Bitmap::Bitmap(int width, int height, Pixel fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}
