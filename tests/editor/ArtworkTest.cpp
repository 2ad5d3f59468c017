#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "drawing/Canvas.h"
#include "drawing/Png.h"
#include "editor/EditorImages.h"
#include "editor/IGraphics.h"
#include "platform/ModuleResources.h"

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

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> ArtBytes(const EditorImage& image) {
  return FileBytes(std::string(TARSYN7_ART_FOLDER) + "/" +
                   (image.file + 14));  // after "resources/img/"
}

std::optional<Bitmap> LoadArt(const EditorImage& image) {
  std::vector<uint8_t> bytes = ArtBytes(image);
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

TEST(Artwork, TheGeneratorDrawsTheSameBytesOnEveryRun) {
  std::string folder = ::testing::TempDir() + "art-again";
  std::string command =
      "mkdir -p '" + folder + "' && '" + TARSYN7_ART_PROGRAM + "' '" + folder + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const EditorImage& image : kEditorImages) {
    EXPECT_EQ(FileBytes(folder + "/" + (image.file + 14)), ArtBytes(image)) << image.file;
  }
}

TEST(Artwork, ThePlugInFileCarriesEveryImageAsAPngResource) {
  std::vector<uint8_t> plugin = FileBytes(TARSYN7_PLUGIN_PATH);
  ASSERT_FALSE(plugin.empty());
  IGraphics graphics(nullptr, 1054, 600);
  for (const EditorImage& image : kEditorImages) {
    std::vector<uint8_t> bytes = ArtBytes(image);
    ASSERT_FALSE(bytes.empty()) << image.file;
    EXPECT_NE(std::search(plugin.begin(), plugin.end(), bytes.begin(), bytes.end()), plugin.end())
        << image.file << " is not in the plug-in file";
    ModuleResource resource;
    ASSERT_TRUE(FindModuleResource("png", image.id, resource)) << image.id;
    EXPECT_TRUE(
        std::equal(bytes.begin(), bytes.end(), resource.data, resource.data + resource.size));
    BitmapStrip strip = graphics.LoadStrip(image.id, image.file, image.frames);
    ASSERT_NE(strip.image, nullptr) << image.file;
    EXPECT_EQ(strip.FrameHeight() * image.frames, strip.height);
  }
  EXPECT_NE(graphics.LoadStrip(101, "BACK.PNG", 1).image, nullptr);
  EXPECT_EQ(graphics.LoadStrip(101, "back.bmp", 1).image, nullptr);
  EXPECT_EQ(graphics.LoadStrip(99, "missing.png", 1).image, nullptr);
}

}  // namespace
