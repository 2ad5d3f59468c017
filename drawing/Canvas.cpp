#include "drawing/Canvas.h"

#include <algorithm>
#include <cmath>

#include "drawing/Font.h"

namespace {

uint32_t WeightFactor(double weight) {
  if (!(weight > 0.0)) return 0;  // also not-a-number
  return weight >= 1.0 ? 255u : static_cast<uint32_t>(std::lround(weight * 255.0));
}

}  // namespace

Canvas::Canvas(Bitmap& target) : target_(target), clip_(target.Bounds()) {}

Canvas::Canvas(Bitmap& target, const Rect& clip) : target_(target) {
  SetClip(clip);
}

void Canvas::SetClip(const Rect& clip) {
  clip_ = clip.Intersection(target_.Bounds());
}

void Canvas::BlendPixel(int x, int y, Pixel pixel) {
  if (clip_.Contains(x, y)) target_.At(x, y) = BlendOver(target_.At(x, y), pixel);
}

void Canvas::Blend(int x, int y, Color color, double coverage) {
  if (coverage <= 0.0) return;
  uint32_t factor = WeightFactor(coverage);
  BlendPixel(x, y, ScalePixel(Premultiply(color), factor));
}

void Canvas::Blit(const Bitmap& image, const Rect& source, int x, int y, double weight) {
  Rect from = source.Intersection(image.Bounds());
  if (from.Empty()) return;
  // Where the visible part of the source lands, and where it comes from.
  Rect to = Rect{x + from.left - source.left, y + from.top - source.top, 0, 0};
  to.right = to.left + from.Width();
  to.bottom = to.top + from.Height();
  Rect visible = to.Intersection(clip_);
  if (visible.Empty()) return;
  uint32_t factor = WeightFactor(weight);
  if (factor == 0) return;
  int dx = from.left - to.left;
  int dy = from.top - to.top;
  for (int row = visible.top; row < visible.bottom; ++row) {
    const Pixel* in = image.Row(row + dy) + dx;
    Pixel* out = target_.Row(row);
    for (int column = visible.left; column < visible.right; ++column) {
      Pixel pixel = factor == 255 ? in[column] : ScalePixel(in[column], factor);
      out[column] = BlendOver(out[column], pixel);
    }
  }
}

void Canvas::FillRect(const Rect& area, Color color) {
  Rect visible = area.Intersection(clip_);
  Pixel pixel = Premultiply(color);
  for (int row = visible.top; row < visible.bottom; ++row) {
    Pixel* out = target_.Row(row);
    for (int column = visible.left; column < visible.right; ++column) {
      out[column] = BlendOver(out[column], pixel);
    }
  }
}

void Canvas::FrameRect(const Rect& area, Color color) {
  if (area.Empty()) return;
  FillRect({area.left, area.top, area.right, area.top + 1}, color);
  if (area.Height() > 1) FillRect({area.left, area.bottom - 1, area.right, area.bottom}, color);
  FillRect({area.left, area.top + 1, area.left + 1, area.bottom - 1}, color);
  if (area.Width() > 1)
    FillRect({area.right - 1, area.top + 1, area.right, area.bottom - 1}, color);
}

void Canvas::DrawLine(int x0, int y0, int x1, int y1, Color color) {
  Pixel pixel = Premultiply(color);
  int dx = std::abs(x1 - x0);
  int dy = -std::abs(y1 - y0);
  int stepX = x0 < x1 ? 1 : -1;
  int stepY = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  while (true) {
    BlendPixel(x0, y0, pixel);
    if (x0 == x1 && y0 == y1) break;
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y0 += stepY;
    }
  }
}

void Canvas::FillCircle(double cx, double cy, double radius, Color color) {
  Rect box{
      static_cast<int>(std::floor(cx - radius - 1)), static_cast<int>(std::floor(cy - radius - 1)),
      static_cast<int>(std::ceil(cx + radius + 2)), static_cast<int>(std::ceil(cy + radius + 2))};
  box = box.Intersection(clip_);
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      double distance = std::hypot(x - cx, y - cy);
      Blend(x, y, color, std::clamp(radius + 0.5 - distance, 0.0, 1.0));
    }
  }
}

void Canvas::DrawText(const std::string& text, const TextStyle& style, const Rect& area) {
  if (text.empty() || area.Empty()) return;
  double width = MeasureText(text, style.size, style.weight);
  double x = area.left;
  if (style.align == TextStyle::kCenter) x = area.left + (area.Width() - width) / 2.0;
  if (style.align == TextStyle::kRight) x = area.right - width;
  x = std::floor(x + 0.5);  // whole pixels: the same text looks the same wherever it stands
  RasterizeText(text, style.size, style.weight, x, area.top,
                [&](int px, int py, double coverage) { Blend(px, py, style.color, coverage); });
}
