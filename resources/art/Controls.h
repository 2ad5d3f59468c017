#pragma once

#include "drawing/Bitmap.h"
#include "drawing/Color.h"

// The strips of the panel's controls, frames stacked top to bottom, each exactly the size
// the editor's layout places it at.

Bitmap PushButton(int width, int height, Color cap);  // 2 frames: up, pressed
Bitmap SevenSegmentDigits(Color lit);                 // 15 frames of 26 x 34
Bitmap DecimalPoints(Color lit);                      // 2 frames of 6 x 5: dark, lit
Bitmap FaderHandle(int width, int height, bool gripAcross);
Bitmap LeverHandle();  // 38 x 16, carries a value text
Bitmap LeverTrack();   // 38 x 92
Bitmap LabelPair(int width, int height, const char* first, const char* second, Color lit);
Bitmap MenuButton();    // 104 x 48: normal, highlighted
Bitmap ModeLabel();     // 101 x 50: extended, Poly-800
Bitmap RecordButton();  // 19 x 38: off, armed
Bitmap ToggleSwitch();  // 18 x 80: down, up
Bitmap VolumeKnob();    // 65 frames of 80 x 80
Bitmap Led();           // 8 x 8, lit
