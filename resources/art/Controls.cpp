#include "resources/art/Controls.h"

#include <cmath>

#include "resources/art/ArtTools.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Color kWhite{255, 240, 240, 236};
constexpr Color kShadow{110, 0, 0, 0};

// Draws `frame` of a strip of `count` equal frames into its own clip.
template <typename Paint>
Bitmap Frames(int width, int frameHeight, int count, Paint paint) {
  Bitmap strip(width, frameHeight * count);
  for (int frame = 0; frame < count; ++frame) {
    Canvas canvas(strip, {0, frame * frameHeight, width, (frame + 1) * frameHeight});
    paint(canvas, frame, static_cast<double>(frame * frameHeight));
  }
  return strip;
}

}  // namespace

Bitmap PushButton(int width, int height, Color cap) {
  int frameHeight = height / 2;
  return Frames(width, frameHeight, 2, [&](Canvas& canvas, int frame, double top) {
    bool pressed = frame == 1;
    double inset = pressed ? 1.0 : 0.0;
    double bottom = top + frameHeight;
    FillRoundedRect(canvas, 0, top, width, bottom, 2.5, {255, 12, 12, 14}, {255, 6, 6, 8});
    Color face = pressed ? Shade(cap, 0.78) : cap;
    FillRoundedRect(canvas, 1 + inset, top + 1 + inset, width - 1 - inset * 0.5, bottom - 1.5, 2.0,
                    Shade(face, 1.18), Shade(face, 0.82));
    // A bright upper edge, a dark lower one.
    FillRoundedRect(canvas, 2 + inset, top + 1.5 + inset, width - 2, top + 2.5 + inset, 0.5,
                    {120, 255, 255, 255}, {120, 255, 255, 255});
    FillRoundedRect(canvas, 2, bottom - 3, width - 2, bottom - 2, 0.5, kShadow, kShadow);
  });
}

Bitmap SevenSegmentDigits(Color lit) {
  // Segments a-g per code: 0-9, "-", "P", "C", "H", dark.
  static const char* const kSegments[15] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                            "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg",
                                            "g",      "abefg",  "adef",  "bcefg",   ""};
  Color unlit = Mix({255, 0, 0, 0}, lit, 0.13);
  unlit.a = 200;
  return Frames(26, 34, 15, [&](Canvas& canvas, int frame, double top) {
    const double left = 7.0, right = 19.0, up = top + 4.0, middle = top + 16.5, down = top + 29.0;
    auto slant = [&](double y) { return (top + 29.0 - y) * 0.09; };  // a slight italic
    struct Segment {
      char name;
      double x0, y0, x1, y1;
    };
    const Segment segments[] = {{'a', left, up, right, up},        {'b', right, up, right, middle},
                                {'c', right, middle, right, down}, {'d', left, down, right, down},
                                {'e', left, middle, left, down},   {'f', left, up, left, middle},
                                {'g', left, middle, right, middle}};
    std::string on = kSegments[frame];
    for (const Segment& s : segments) {
      bool shining = on.find(s.name) != std::string::npos;
      // Each segment stops short of its neighbours, as on a real display.
      double gapX = s.x0 == s.x1 ? 0.0 : 2.2;
      double gapY = s.y0 == s.y1 ? 0.0 : 2.2;
      double x0 = s.x0 + gapX + slant(s.y0 + gapY), y0 = s.y0 + gapY;
      double x1 = s.x1 - gapX + slant(s.y1 - gapY), y1 = s.y1 - gapY;
      if (shining) {
        Color glow = lit;
        glow.a = 70;
        DrawThickLine(canvas, x0, y0, x1, y1, 5.5, glow);
        DrawThickLine(canvas, x0, y0, x1, y1, 3.2, lit);
        DrawThickLine(canvas, x0, y0, x1, y1, 1.2, Mix(lit, {255, 255, 255, 255}, 0.45));
      } else {
        DrawThickLine(canvas, x0, y0, x1, y1, 3.2, unlit);
      }
    }
  });
}

Bitmap DecimalPoints(Color lit) {
  Color unlit = Mix({255, 0, 0, 0}, lit, 0.13);
  return Frames(6, 5, 2, [&](Canvas& canvas, int frame, double top) {
    canvas.FillCircle(2.5, top + 2.0, 1.6, frame ? lit : unlit);
  });
}

Bitmap FaderHandle(int width, int height, bool gripAcross) {
  Bitmap handle(width, height);
  Canvas canvas(handle);
  FillRoundedRect(canvas, 0, 0, width, height, 2.5, {255, 20, 20, 22}, {255, 8, 8, 10});
  FillRoundedRect(canvas, 1, 1, width - 1, height - 1, 2.0, {255, 92, 94, 100}, {255, 38, 39, 44});
  if (gripAcross) {  // a white index line across the travel, grooves beside it
    for (int y : {height / 2 - 6, height / 2 - 3, height / 2 + 3, height / 2 + 6}) {
      canvas.FillRect({3, y, width - 3, y + 1}, {160, 10, 10, 12});
    }
    canvas.FillRect({2, height / 2 - 1, width - 2, height / 2 + 1}, kWhite);
  } else {
    for (int x : {width / 2 - 8, width / 2 - 4, width / 2 + 4, width / 2 + 8}) {
      canvas.FillRect({x, 3, x + 1, height - 3}, {160, 10, 10, 12});
    }
    canvas.FillRect({width / 2 - 1, 2, width / 2 + 1, height - 2}, kWhite);
  }
  return handle;
}

Bitmap LeverHandle() {
  Bitmap handle(38, 16);
  Canvas canvas(handle);
  FillRoundedRect(canvas, 0, 0, 38, 16, 2.5, {255, 6, 6, 8}, {255, 0, 0, 0});
  FillRoundedRect(canvas, 1, 1, 37, 15, 2.0, {255, 64, 60, 56}, {255, 30, 28, 26});
  canvas.FillRect({2, 1, 36, 2}, {90, 255, 255, 255});
  return handle;
}

Bitmap LeverTrack() {
  Bitmap track(38, 92);
  Canvas canvas(track);
  FillRoundedRect(canvas, 0, 0, 38, 92, 3.0, {235, 22, 23, 27}, {235, 14, 15, 18});
  FillRoundedRect(canvas, 17, 6, 21, 86, 2.0, {255, 0, 0, 0}, {255, 4, 4, 6});
  for (int i = 0; i <= 10; ++i) {
    int y = 8 + i * 76 / 10;
    canvas.FillRect({i % 5 == 0 ? 6 : 9, y, 14, y + 1}, {140, 200, 200, 205});
    canvas.FillRect({24, y, i % 5 == 0 ? 32 : 29, y + 1}, {140, 200, 200, 205});
  }
  canvas.FrameRect({0, 0, 38, 92}, {80, 255, 255, 255});
  return track;
}

Bitmap LabelPair(int width, int height, const char* first, const char* second, Color lit) {
  int frameHeight = height / 2;
  int size = frameHeight + 1;
  return Frames(width, frameHeight, 2, [&](Canvas& canvas, int frame, double top) {
    PrintCentred(canvas, frame ? second : first, width / 2, static_cast<int>(top) - 1, size, lit,
                 TextStyle::kBold);
  });
}

Bitmap MenuButton() {
  return Frames(104, 24, 2, [&](Canvas& canvas, int frame, double top) {
    bool lit = frame == 1;
    FillRoundedRect(canvas, 0, top, 104, top + 24, 4.0, {255, 8, 8, 10}, {255, 2, 2, 3});
    Color face = lit ? Color{255, 70, 82, 110} : Color{255, 48, 50, 56};
    FillRoundedRect(canvas, 1, top + 1, 103, top + 23, 3.5, Shade(face, 1.2), Shade(face, 0.8));
    Color text = lit ? Color{255, 255, 255, 255} : Color{255, 215, 218, 225};
    PrintCentred(canvas, "MENU", 52, static_cast<int>(top) + 5, 14, text, TextStyle::kBold);
  });
}

Bitmap ModeLabel() {
  return Frames(101, 25, 2, [&](Canvas& canvas, int frame, double top) {
    FillRoundedRect(canvas, 0, top, 101, top + 25, 3.0, {255, 16, 16, 19}, {255, 10, 10, 12});
    Color accent = frame ? Color{255, 255, 140, 60} : Color{255, 110, 190, 255};
    canvas.FillCircle(9.5, top + 12.0, 3.0, accent);
    Print(canvas, frame ? "POLY-800" : "EXTENDED", 17, static_cast<int>(top) + 2, 12,
          {255, 235, 235, 232}, TextStyle::kBold);
    Print(canvas, "ENGINE", 17, static_cast<int>(top) + 13, 9, {255, 150, 152, 160});
  });
}

Bitmap RecordButton() {
  return Frames(19, 19, 2, [&](Canvas& canvas, int frame, double top) {
    FillShadedCircle(canvas, 9.5, top + 9.5, 9.0, {255, 40, 40, 44}, {255, 8, 8, 10});
    if (frame) {
      canvas.FillCircle(9.5, top + 9.5, 6.5, {90, 255, 40, 30});
      FillShadedCircle(canvas, 9.5, top + 9.5, 5.0, {255, 255, 150, 130}, {255, 220, 20, 10});
    } else {
      FillShadedCircle(canvas, 9.5, top + 9.5, 5.0, {255, 120, 30, 28}, {255, 60, 8, 8});
    }
  });
}

Bitmap ToggleSwitch() {
  return Frames(18, 40, 2, [&](Canvas& canvas, int frame, double top) {
    FillRoundedRect(canvas, 1, top + 8, 17, top + 32, 3.0, {255, 12, 12, 14}, {255, 24, 24, 28});
    canvas.FillCircle(8.5, top + 19.5, 5.0, {255, 70, 72, 78});
    double tipY = frame ? top + 5.0 : top + 34.0;  // up for the second position
    DrawThickLine(canvas, 9.0, top + 20.0, 9.0, tipY, 4.0, {255, 190, 192, 198});
    FillShadedCircle(canvas, 9.0, tipY, 4.0, {255, 250, 250, 252}, {255, 120, 122, 130});
  });
}

Bitmap VolumeKnob() {
  return Frames(80, 80, 65, [&](Canvas& canvas, int frame, double top) {
    double cx = 40.0, cy = top + 40.0;
    canvas.FillCircle(cx + 1.5, cy + 2.5, 31.0, {120, 0, 0, 0});  // shadow
    FillShadedCircle(canvas, cx, cy, 30.0, {255, 72, 74, 80}, {255, 14, 14, 16});
    FillShadedCircle(canvas, cx, cy, 25.0, {255, 40, 41, 46}, {255, 22, 22, 25});
    // Knurled rim.
    for (int i = 0; i < 48; ++i) {
      double angle = i * 2.0 * kPi / 48.0;
      DrawThickLine(canvas, cx + 26.5 * std::cos(angle), cy + 26.5 * std::sin(angle),
                    cx + 29.5 * std::cos(angle), cy + 29.5 * std::sin(angle), 1.0, {90, 0, 0, 0});
    }
    // The pointer, from 7:30 (value 0) clockwise to 4:30 (value 1).
    double angle = (-225.0 + 270.0 * frame / 64.0) * kPi / 180.0;
    DrawThickLine(canvas, cx + 9.0 * std::cos(angle), cy + 9.0 * std::sin(angle),
                  cx + 23.0 * std::cos(angle), cy + 23.0 * std::sin(angle), 3.0, kWhite);
  });
}

Bitmap Led() {
  Bitmap led(8, 8);
  Canvas canvas(led);
  canvas.FillCircle(3.5, 3.5, 3.8, {110, 255, 30, 20});
  FillShadedCircle(canvas, 4.0, 4.0, 3.0, {255, 255, 190, 170}, {255, 235, 25, 15});
  return led;
}
