#pragma once

#include <functional>
#include <string>

#include "drawing/TextStyle.h"

// Text rasterised from the sans-serif font embedded in the plug-in. `size` is the line
// height in pixels (ascent plus descent).

// Width of one line of UTF-8 text, in pixels.
double MeasureText(const std::string& text, int size, TextStyle::Weight weight);

// Calls `plot` with the coverage (0..1) of every inked pixel of the line whose first pen
// position is x and whose line box starts at `top`.
using CoveragePlot = std::function<void(int x, int y, double coverage)>;
void RasterizeText(const std::string& text, int size, TextStyle::Weight weight, double x, int top,
                   const CoveragePlot& plot);

// The next Unicode character of UTF-8 text from `position`, which moves past it; a broken
// sequence counts as one U+FFFD for its first byte.
char32_t NextCharacter(const std::string& text, size_t& position);
