#include "drawing/Png.h"

#include <cstdio>
#include <memory>

#include <png.h>

namespace {

// Larger images than the editor could ever show are refused before allocating.
constexpr png_uint_32 kMaxSide = 16384;

}  // namespace

std::optional<Bitmap> DecodePng(const uint8_t* bytes, size_t size) {
  if (!bytes || size == 0) return std::nullopt;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes, size)) return std::nullopt;
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  Bitmap bitmap(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, bitmap.Row(0), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  for (int y = 0; y < bitmap.Height(); ++y) {
    Pixel* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      Pixel pixel = row[x];
      uint32_t alpha = AlphaOf(pixel);
      row[x] = (ScalePixel(pixel, alpha) & 0x00FFFFFFu) | (alpha << 24);
    }
  }
  return bitmap;
}

std::vector<uint8_t> EncodePng(const Bitmap& bitmap) {
  if (bitmap.Empty()) return {};
  std::vector<Pixel> straight(static_cast<size_t>(bitmap.Width()) *
                              static_cast<size_t>(bitmap.Height()));
  size_t at = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      Pixel pixel = bitmap.At(x, y);
      uint32_t alpha = AlphaOf(pixel);
      Pixel out = 0;
      if (alpha) {
        for (int shift = 0; shift < 24; shift += 8) {
          uint32_t channel = (((pixel >> shift) & 0xFF) * 255 + alpha / 2) / alpha;
          out |= (channel > 255 ? 255 : channel) << shift;
        }
        out |= alpha << 24;
      }
      straight[at++] = out;
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bitmap.Width());
  image.height = static_cast<png_uint_32>(bitmap.Height());
  image.format = PNG_FORMAT_BGRA;
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, straight.data(), 0, nullptr)) return {};
  std::vector<uint8_t> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, straight.data(), 0, nullptr)) {
    return {};
  }
  bytes.resize(size);
  return bytes;
}

bool WritePngFile(const Bitmap& image, const std::string& path) {
  std::vector<uint8_t> bytes = EncodePng(image);
  if (bytes.empty()) return false;
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}
