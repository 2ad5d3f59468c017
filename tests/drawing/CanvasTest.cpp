#include <gtest/gtest.h>

#include <cmath>

#include "drawing/Canvas.h"
#include "drawing/Font.h"

namespace {

constexpr Pixel kOpaqueRed = 0xFFFF0000u;
constexpr Pixel kOpaqueBlue = 0xFF0000FFu;

// The columns and rows that carry ink (alpha > 0).
Rect InkedArea(const Bitmap& image) {
  Rect area;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      if (AlphaOf(image.At(x, y))) area = area.Union({x, y, x + 1, y + 1});
    }
  }
  return area;
}

TEST(Canvas, BlitBlendsPremultipliedAlphaScaledByWeight) {
  Bitmap image(2, 2);
  image.At(0, 0) = kOpaqueRed;
  image.At(1, 0) = 0x80800000u;  // half-transparent red, premultiplied
  image.At(0, 1) = 0;            // fully transparent
  image.At(1, 1) = kOpaqueRed;
  Bitmap target(4, 4, kOpaqueBlue);
  Canvas canvas(target);
  canvas.Blit(image, image.Bounds(), 1, 1);
  EXPECT_EQ(target.At(1, 1), kOpaqueRed);
  EXPECT_EQ(target.At(2, 1), 0xFF80007Fu);  // red over blue, half each
  EXPECT_EQ(target.At(1, 2), kOpaqueBlue);
  EXPECT_EQ(target.At(0, 0), kOpaqueBlue);

  // A grayed control draws at a quarter of its weight.
  Bitmap grayed(1, 1, kOpaqueBlue);
  Canvas(grayed).Blit(image, {0, 0, 1, 1}, 0, 0, 0.25);
  EXPECT_EQ(grayed.At(0, 0), 0xFF4000BFu);
  // Weight 0 and not-a-number draw nothing.
  Canvas(grayed).Blit(image, {0, 0, 1, 1}, 0, 0, std::nan(""));
  EXPECT_EQ(grayed.At(0, 0), 0xFF4000BFu);
}

TEST(Canvas, BlitTakesOneFrameOfAStripAndStaysInsideTheClip) {
  Bitmap strip(2, 6);  // three frames of 2 x 2, frame k filled with k
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 2; ++x) strip.At(x, y) = 0xFF000000u | static_cast<Pixel>(y / 2 + 1);
  }
  Bitmap target(4, 4);
  Canvas canvas(target, {0, 0, 3, 3});
  canvas.Blit(strip, {0, 2, 2, 4}, 2, 2);  // frame 2, three of its pixels outside the clip
  EXPECT_EQ(target.At(2, 2), 0xFF000002u);
  EXPECT_EQ(target.At(3, 2), 0u);
  EXPECT_EQ(target.At(2, 3), 0u);
  canvas.Blit(strip, {0, 4, 2, 6}, -1, -1);  // partly off the top-left corner
  EXPECT_EQ(target.At(0, 0), 0xFF000003u);
  EXPECT_EQ(target.At(1, 1), 0u);
}

TEST(Canvas, FillsLinesAndCirclesAreClipped) {
  Bitmap target(10, 10);
  Canvas canvas(target, {2, 2, 8, 8});
  canvas.FillRect({0, 0, 10, 10}, {128, 255, 255, 255});
  EXPECT_EQ(InkedArea(target), (Rect{2, 2, 8, 8}));
  EXPECT_EQ(target.At(2, 2), 0x80808080u);
  canvas.FillRect({5, 5, 6, 6}, {255, 0, 255, 0});
  EXPECT_EQ(target.At(5, 5), 0xFF00FF00u);

  Bitmap lines(10, 10);
  Canvas lineCanvas(lines, {0, 0, 5, 10});
  lineCanvas.DrawLine(0, 0, 9, 9, {255, 255, 0, 0});
  EXPECT_EQ(lines.At(4, 4), kOpaqueRed);
  EXPECT_EQ(InkedArea(lines), (Rect{0, 0, 5, 5}));

  Bitmap circle(20, 20);
  Canvas(circle).FillCircle(10, 10, 4, {255, 0, 0, 255});
  EXPECT_EQ(circle.At(10, 10), kOpaqueBlue);
  EXPECT_EQ(InkedArea(circle), (Rect{6, 6, 15, 15}));
}

TEST(Canvas, TextIsAlignedInItsRectangleAndClipped) {
  TextStyle style;
  style.size = 16;
  style.color = {255, 255, 255, 255};
  const Rect area{10, 4, 110, 24};
  auto inkOf = [&](TextStyle::Align align) {
    Bitmap target(120, 30);
    style.align = align;
    Canvas(target).DrawText("HOLD", style, area);
    return InkedArea(target);
  };
  Rect left = inkOf(TextStyle::kLeft);
  Rect centre = inkOf(TextStyle::kCenter);
  Rect right = inkOf(TextStyle::kRight);
  double width = MeasureText("HOLD", 16, TextStyle::kNormal);
  EXPECT_GT(width, 30.0);
  EXPECT_LT(width, 50.0);
  EXPECT_NEAR(left.left, area.left, 2);
  EXPECT_NEAR(right.right, area.right, 2);
  EXPECT_NEAR(centre.left - area.left, area.right - centre.right, 1);
  EXPECT_EQ(left.Width(), right.Width());
  // Capitals sit in the upper part of the line box.
  EXPECT_GE(left.top, area.top);
  EXPECT_LE(left.bottom, area.top + 16);

  Bitmap clipped(120, 30);
  Canvas(clipped, {0, 0, 30, 30}).DrawText("HOLD", style, area);
  EXPECT_LE(InkedArea(clipped).right, 30);
  EXPECT_GT(MeasureText("HOLD", 16, TextStyle::kBold), width);
}

TEST(Font, BrokenUtf8CountsAsReplacementCharacters) {
  std::string text = "A\xC3\xA9\xE2\x82";  // A, e-acute, a cut three-byte sequence
  size_t position = 0;
  EXPECT_EQ(NextCharacter(text, position), U'A');
  EXPECT_EQ(NextCharacter(text, position), U'\u00E9');
  EXPECT_EQ(NextCharacter(text, position), U'\uFFFD');
  EXPECT_EQ(NextCharacter(text, position), U'\uFFFD');
  EXPECT_EQ(position, text.size());
}

}  // namespace
