#pragma once

#include <string>

#include "drawing/Bitmap.h"
#include "drawing/TextStyle.h"

// Draws into a bitmap, never outside its clip rectangle (itself never outside the bitmap).
// Colours are straight; the bitmap keeps premultiplied pixels.
class Canvas {
 public:
  explicit Canvas(Bitmap& target);
  Canvas(Bitmap& target, const Rect& clip);

  const Rect& Clip() const { return clip_; }
  void SetClip(const Rect& clip);

  // Blends `source` (a part of `image`) with its top-left at (x, y), its alpha scaled
  // by `weight` (0..1).
  void Blit(const Bitmap& image, const Rect& source, int x, int y, double weight = 1.0);
  void FillRect(const Rect& area, Color color);
  void FrameRect(const Rect& area, Color color);  // the 1-pixel border inside `area`
  void DrawLine(int x0, int y0, int x1, int y1, Color color);
  // An anti-aliased disc around the pixel centre (cx, cy).
  void FillCircle(double cx, double cy, double radius, Color color);
  // One line of UTF-8 text from the top of `area`, aligned horizontally after the style.
  void DrawText(const std::string& text, const TextStyle& style, const Rect& area);

  void BlendPixel(int x, int y, Pixel pixel);  // clipped

 private:
  void Blend(int x, int y, Color color, double coverage);

  Bitmap& target_;
  Rect clip_;
};
