#pragma once

#include "drawing/Bitmap.h"

// A bitmap holding N frames of one control, stacked top to bottom (or side by side).
// Frame numbers start at 1. A strip without an image draws nothing.
struct BitmapStrip {
  const Bitmap* image = nullptr;
  int width = 0;
  int height = 0;
  int frames = 1;
  bool sideBySide = false;

  int FrameWidth() const { return sideBySide && frames > 0 ? width / frames : width; }
  int FrameHeight() const { return sideBySide || frames <= 0 ? height : height / frames; }
  // Where frame k lies in the image; k is clamped to 1..N.
  Rect FrameRect(int frame) const;
};

// The frame a value (0..1) shows: nearest of 1..N; a value that is not a number shows
// frame 1, values outside 0..1 the end frames.
int FrameForValue(double value, int frames);
// Knobs round by truncation after adding one half.
int KnobFrameForValue(double value, int frames);
// The frame of a seven-segment digit code in the 15-frame digit strips: codes 0..13 (the
// numerals, "-", "P", "C", "H") show frames 1..14; every other code the dark frame 15.
int DigitFrame(int code);
