#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "drawing/Canvas.h"
#include "drawing/Png.h"
#include "editor/EditorImages.h"

namespace {

struct Size {
  int width;
  int height;
};

// The size each image must have for its frames to fit the layout's rectangles.
const Size kSizes[] = {{1054, 600}, {16, 160}, {16, 160},  {74, 24}, {16, 84},  {42, 24},
                       {42, 24},    {26, 510}, {26, 510},  {6, 10},  {6, 10},   {30, 20},
                       {38, 16},    {16, 30},  {49, 16},   {38, 92}, {104, 48}, {101, 50},
                       {19, 38},    {18, 80},  {80, 5200}, {8, 8},   {44, 20}};

std::optional<Bitmap> LoadArt(const EditorImage& image) {
  std::string path =
      std::string(TARSYN7_ART_FOLDER) + "/" + (image.file + 14);  // after "resources/img/"
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
  return DecodePng(bytes.data(), bytes.size());
}

// Whether any pixel of the area carries ink.
bool Inked(const Bitmap& image, const Rect& area) {
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (AlphaOf(image.At(x, y))) return true;
    }
  }
  return false;
}

TEST(Artwork, EveryImageHasItsSizeAndInkedFramesAndAllGoOnAContactSheet) {
  ASSERT_EQ(std::size(kEditorImages), std::size(kSizes));
  // Each strip's frames side by side, one strip per row (the knob's 65 frames wrap).
  Bitmap sheet(1700, 1900, 0xFF606060u);
  Canvas canvas(sheet);
  int x = 0, y = 0, rowHeight = 0;
  for (size_t i = 0; i < std::size(kEditorImages); ++i) {
    const EditorImage& image = kEditorImages[i];
    EXPECT_EQ(image.id, 101 + static_cast<int>(i));
    std::optional<Bitmap> art = LoadArt(image);
    ASSERT_TRUE(art) << image.file;
    EXPECT_EQ(art->Width(), kSizes[i].width) << image.file;
    EXPECT_EQ(art->Height(), kSizes[i].height) << image.file;
    ASSERT_EQ(art->Height() % image.frames, 0) << image.file;
    int frameHeight = art->Height() / image.frames;
    for (int frame = 0; frame < image.frames; ++frame) {
      Rect source{0, frame * frameHeight, art->Width(), (frame + 1) * frameHeight};
      bool darkDigit = image.frames == 15 && frame == 14;  // all segments dark: still drawn
      EXPECT_TRUE(Inked(*art, source) || darkDigit) << image.file << " frame " << frame + 1;
      if (x + art->Width() + 4 > sheet.Width()) {
        x = 0;
        y += rowHeight + 4;
        rowHeight = 0;
      }
      canvas.Blit(*art, source, x, y);
      x += art->Width() + 4;
      rowHeight = std::max(rowHeight, frameHeight);
    }
    x = 0;
    y += rowHeight + 8;
    rowHeight = 0;
  }
  EXPECT_LE(y, sheet.Height());
  EXPECT_TRUE(WritePngFile(sheet, std::string(TARSYN7_ART_FOLDER) + "/../contact-sheet.png"));
}

}  // namespace
