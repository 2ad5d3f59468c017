#include "drawing/Font.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include <stb_truetype.h>

// The font files, embedded by the build.
extern const unsigned char kSansRegularFont[];
extern const unsigned char kSansBoldFont[];
extern const unsigned char kSansObliqueFont[];

namespace {

class Face {
 public:
  explicit Face(const unsigned char* data) {
    valid_ = stbtt_InitFont(&info_, data, stbtt_GetFontOffsetForIndex(data, 0)) != 0;
  }
  bool Valid() const { return valid_; }
  const stbtt_fontinfo* Info() const { return &info_; }

 private:
  stbtt_fontinfo info_{};
  bool valid_ = false;
};

const Face& FaceFor(TextStyle::Weight weight) {
  static const Face regular(kSansRegularFont);
  static const Face bold(kSansBoldFont);
  static const Face oblique(kSansObliqueFont);
  if (weight == TextStyle::kBold) return bold;
  return weight == TextStyle::kItalic ? oblique : regular;
}

// Walks the glyphs of a line, answering each glyph with its pen position.
template <typename Visit>
void WalkGlyphs(const stbtt_fontinfo* info, const std::string& text, float scale, Visit visit) {
  float pen = 0.0f;
  int previous = 0;
  for (size_t position = 0; position < text.size();) {
    int glyph = stbtt_FindGlyphIndex(info, static_cast<int>(NextCharacter(text, position)));
    if (previous)
      pen += scale * static_cast<float>(stbtt_GetGlyphKernAdvance(info, previous, glyph));
    int advance = 0;
    int bearing = 0;
    stbtt_GetGlyphHMetrics(info, glyph, &advance, &bearing);
    visit(glyph, pen);
    pen += scale * static_cast<float>(advance);
    previous = glyph;
  }
  visit(0, pen);  // the end of the line
}

}  // namespace

char32_t NextCharacter(const std::string& text, size_t& position) {
  auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
  unsigned char lead = byte(position);
  int length = lead < 0x80           ? 1
               : (lead >> 5) == 0x6  ? 2
               : (lead >> 4) == 0xE  ? 3
               : (lead >> 3) == 0x1E ? 4
                                     : 0;
  if (length == 0 || position + static_cast<size_t>(length) > text.size()) {
    ++position;
    return lead < 0x80 ? lead : 0xFFFD;
  }
  char32_t character = length == 1 ? lead : lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    unsigned char next = byte(position + static_cast<size_t>(i));
    if ((next & 0xC0) != 0x80) {
      ++position;
      return 0xFFFD;
    }
    character = (character << 6) | (next & 0x3F);
  }
  position += static_cast<size_t>(length);
  return character;
}

double MeasureText(const std::string& text, int size, TextStyle::Weight weight) {
  const Face& face = FaceFor(weight);
  if (!face.Valid() || size <= 0) return 0.0;
  float scale = stbtt_ScaleForPixelHeight(face.Info(), static_cast<float>(size));
  double width = 0.0;
  WalkGlyphs(face.Info(), text, scale, [&](int, float pen) { width = pen; });
  return width;
}

void RasterizeText(const std::string& text, int size, TextStyle::Weight weight, double x, int top,
                   const CoveragePlot& plot) {
  const Face& face = FaceFor(weight);
  if (!face.Valid() || size <= 0) return;
  const stbtt_fontinfo* info = face.Info();
  float scale = stbtt_ScaleForPixelHeight(info, static_cast<float>(size));
  int ascent = 0;
  int descent = 0;
  int gap = 0;
  stbtt_GetFontVMetrics(info, &ascent, &descent, &gap);
  int baseline = top + static_cast<int>(std::lround(scale * static_cast<float>(ascent)));
  std::vector<unsigned char> coverage;
  WalkGlyphs(info, text, scale, [&](int glyph, float pen) {
    if (glyph == 0) return;
    double start = x + static_cast<double>(pen);
    double whole = std::floor(start);
    float shift = static_cast<float>(start - whole);
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetGlyphBitmapBoxSubpixel(info, glyph, scale, scale, shift, 0.0f, &x0, &y0, &x1, &y1);
    int width = x1 - x0;
    int height = y1 - y0;
    if (width <= 0 || height <= 0) return;
    coverage.assign(static_cast<size_t>(width * height), 0);
    stbtt_MakeGlyphBitmapSubpixel(info, coverage.data(), width, height, width, scale, scale, shift,
                                  0.0f, glyph);
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        unsigned char ink = coverage[static_cast<size_t>(row * width + column)];
        if (ink) {
          plot(static_cast<int>(whole) + x0 + column, baseline + y0 + row, ink / 255.0);
        }
      }
    }
  });
}
