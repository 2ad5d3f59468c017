#include "resources/art/ArtTools.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t Channel(double value) {
  return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// Coverage of a pixel whose centre lies `distance` inside (positive) an edge.
double Coverage(double distance) {
  return std::clamp(distance + 0.5, 0.0, 1.0);
}

void Plot(Canvas& canvas, int x, int y, Color color, double coverage) {
  if (coverage <= 0.0) return;
  Color scaled = color;
  scaled.a = Channel(color.a * coverage);
  canvas.BlendPixel(x, y, Premultiply(scaled));
}

}  // namespace

Color Mix(Color from, Color to, double t) {
  auto blend = [t](uint8_t a, uint8_t b) { return Channel(a + (b - a) * t); };
  return {blend(from.a, to.a), blend(from.r, to.r), blend(from.g, to.g), blend(from.b, to.b)};
}

Color Shade(Color color, double factor) {
  if (factor >= 1.0) return Mix(color, {color.a, 255, 255, 255}, factor - 1.0);
  return Mix(color, {color.a, 0, 0, 0}, 1.0 - factor);
}

void FillRoundedRect(Canvas& canvas, double left, double top, double right, double bottom,
                     double radius, Color topColor, Color bottomColor) {
  int x0 = static_cast<int>(std::floor(left));
  int y0 = static_cast<int>(std::floor(top));
  int x1 = static_cast<int>(std::ceil(right));
  int y1 = static_cast<int>(std::ceil(bottom));
  for (int y = y0; y < y1; ++y) {
    double py = y + 0.5;
    Color color = Mix(topColor, bottomColor, (py - top) / std::max(bottom - top, 1.0));
    for (int x = x0; x < x1; ++x) {
      double px = x + 0.5;
      // Distance inside the rounded box: the corner circles or the straight edges.
      double dx = std::max({left + radius - px, px - (right - radius), 0.0});
      double dy = std::max({top + radius - py, py - (bottom - radius), 0.0});
      double inside = std::min({px - left, right - px, py - top, bottom - py});
      if (dx > 0.0 && dy > 0.0) inside = std::min(inside, radius - std::hypot(dx, dy));
      Plot(canvas, x, y, color, Coverage(inside));
    }
  }
}

void DrawThickLine(Canvas& canvas, double x0, double y0, double x1, double y1, double width,
                   Color color) {
  double half = width / 2.0;
  int left = static_cast<int>(std::floor(std::min(x0, x1) - half - 1));
  int right = static_cast<int>(std::ceil(std::max(x0, x1) + half + 1));
  int top = static_cast<int>(std::floor(std::min(y0, y1) - half - 1));
  int bottom = static_cast<int>(std::ceil(std::max(y0, y1) + half + 1));
  double lengthSquared = (x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0);
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      double px = x + 0.5 - x0;
      double py = y + 0.5 - y0;
      double t = lengthSquared > 0.0
                     ? std::clamp((px * (x1 - x0) + py * (y1 - y0)) / lengthSquared, 0.0, 1.0)
                     : 0.0;
      double distance = std::hypot(px - t * (x1 - x0), py - t * (y1 - y0));
      Plot(canvas, x, y, color, Coverage(half - distance));
    }
  }
}

void FillShadedCircle(Canvas& canvas, double cx, double cy, double radius, Color centre,
                      Color edge) {
  int left = static_cast<int>(std::floor(cx - radius - 1));
  int top = static_cast<int>(std::floor(cy - radius - 1));
  for (int y = top; y <= cy + radius + 1; ++y) {
    for (int x = left; x <= cx + radius + 1; ++x) {
      double px = x + 0.5;
      double py = y + 0.5;
      double distance = std::hypot(px - cx, py - cy);
      // The light falls from the upper left.
      double lit = std::hypot(px - (cx - radius * 0.35), py - (cy - radius * 0.4)) / (radius * 1.6);
      Plot(canvas, x, y, Mix(centre, edge, std::clamp(lit, 0.0, 1.0)), Coverage(radius - distance));
    }
  }
}

void Print(Canvas& canvas, const std::string& text, int x, int y, int size, Color color,
           TextStyle::Weight weight, TextStyle::Align align) {
  TextStyle style;
  style.size = size;
  style.color = color;
  style.weight = weight;
  style.align = align;
  Rect area{x, y, x, y + size};
  if (align == TextStyle::kLeft) area.right = x + 2000;
  if (align == TextStyle::kRight) area.left = x - 2000;
  canvas.DrawText(text, style, area);
}

void PrintCentred(Canvas& canvas, const std::string& text, int centreX, int y, int size,
                  Color color, TextStyle::Weight weight) {
  TextStyle style;
  style.size = size;
  style.color = color;
  style.weight = weight;
  style.align = TextStyle::kCenter;
  canvas.DrawText(text, style, {centreX - 1000, y, centreX + 1000, y + size});
}

double Grain::Next() {
  state_ = state_ * 1664525u + 1013904223u;
  return (state_ >> 8) / static_cast<double>(1u << 24);
}
