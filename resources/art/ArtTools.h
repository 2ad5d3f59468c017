#pragma once

#include <string>

#include "drawing/Canvas.h"

// Shapes the panel's artwork is drawn with, anti-aliased, on top of the drawing library.

// A straight-line blend of two colours, t in 0..1.
Color Mix(Color from, Color to, double t);
Color Shade(Color color, double factor);  // brighter above 1, darker below

// A rounded rectangle with edges at the given (fractional) coordinates, its colour running
// from `top` to `bottom`.
void FillRoundedRect(Canvas& canvas, double left, double top, double right, double bottom,
                     double radius, Color topColor, Color bottomColor);
// A line with round ends, `width` pixels thick.
void DrawThickLine(Canvas& canvas, double x0, double y0, double x1, double y1, double width,
                   Color color);
// A disc whose colour runs from `centre` to `edge`, lit from the upper left.
void FillShadedCircle(Canvas& canvas, double cx, double cy, double radius, Color centre,
                      Color edge);
// Text with its box's top-left at (x, y) or centred on x.
void Print(Canvas& canvas, const std::string& text, int x, int y, int size, Color color,
           TextStyle::Weight weight = TextStyle::kNormal,
           TextStyle::Align align = TextStyle::kLeft);
void PrintCentred(Canvas& canvas, const std::string& text, int centreX, int y, int size,
                  Color color, TextStyle::Weight weight = TextStyle::kNormal);
// A fixed sequence of numbers in 0..1 (the same on every run), for textures.
class Grain {
 public:
  explicit Grain(unsigned seed) : state_(seed) {}
  double Next();

 private:
  unsigned state_;
};
