#pragma once

#include <vector>

#include "drawing/Color.h"
#include "drawing/Rect.h"

// An off-screen image of premultiplied pixels, row by row from the top.
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, Pixel fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rect Bounds() const { return {0, 0, width_, height_}; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }

  Pixel At(int x, int y) const { return pixels_[Index(x, y)]; }
  Pixel& At(int x, int y) { return pixels_[Index(x, y)]; }
  const Pixel* Row(int y) const { return &pixels_[Index(0, y)]; }
  Pixel* Row(int y) { return &pixels_[Index(0, y)]; }

 private:
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};
