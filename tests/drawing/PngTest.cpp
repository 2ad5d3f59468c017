#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "drawing/Png.h"

namespace {

TEST(Png, RoundTripKeepsPremultipliedPixelsAndIsDeterministic) {
  Bitmap image(3, 2);
  image.At(0, 0) = 0xFFFF8000u;
  image.At(1, 0) = 0x80400000u;  // half-transparent
  image.At(2, 1) = 0x00000000u;
  std::vector<uint8_t> bytes = EncodePng(image);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(EncodePng(image), bytes);
  std::optional<Bitmap> decoded = DecodePng(bytes.data(), bytes.size());
  ASSERT_TRUE(decoded);
  ASSERT_EQ(decoded->Width(), 3);
  ASSERT_EQ(decoded->Height(), 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(decoded->At(x, y), image.At(x, y)) << x << "," << y;
  }
}

TEST(Png, BrokenDataIsRefused) {
  Bitmap image(4, 4, 0xFF102030u);
  std::vector<uint8_t> bytes = EncodePng(image);
  EXPECT_FALSE(DecodePng(bytes.data(), bytes.size() / 2));
  EXPECT_FALSE(DecodePng(bytes.data(), 8));
  EXPECT_FALSE(DecodePng(nullptr, 0));
  auto data = std::search(bytes.begin(), bytes.end(), std::begin("IDAT"), std::end("IDAT") - 1);
  ASSERT_NE(data, bytes.end());
  data[6] ^= 0xFF;  // a damaged compressed stream
  EXPECT_FALSE(DecodePng(bytes.data(), bytes.size()));
  EXPECT_TRUE(EncodePng(Bitmap()).empty());
}

}  // namespace
