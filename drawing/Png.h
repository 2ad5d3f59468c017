#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "drawing/Bitmap.h"

// PNG files to and from premultiplied bitmaps. Decoding refuses broken or oversized data
// with no result; encoding is deterministic (same bitmap, same bytes).
std::optional<Bitmap> DecodePng(const uint8_t* bytes, size_t size);
std::vector<uint8_t> EncodePng(const Bitmap& image);
bool WritePngFile(const Bitmap& image, const std::string& path);
