#pragma once

#include "drawing/Bitmap.h"

// The front panel behind every control, 1054 x 600: sections, printed labels, the display
// window and the parameter chart with the programmer's two-digit numbers.
Bitmap FrontPanel();
