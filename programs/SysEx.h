#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "programs/HardwareImage.h"

// The model codes a dump carries.
enum HardwareModel : int { kEx800 = 1, kMidiDumpKit = 6, kPoly800II = 12 };

// Bytes of a complete dump of the layout: header, the image as two bytes per byte, the
// checksum likewise, and the closing 0xF7.
int SysExDumpSize(HardwareLayout layout);

// A dump read completely, or why it was refused.
struct SysExDump {
  int model = 0;
  std::optional<HardwareDataImage> image;
  std::string error;  // empty when `image` holds the dump
};

// Checks everything before answering an image: header and model, the full length with
// 0xF7 where the layout ends (bytes after it are ignored), every data byte at most 0x0F,
// and the checksum.
SysExDump ParseSysExDump(const uint8_t* bytes, size_t length);

// The dump of `image` as model `model` (1, 6 or 12, matching the image's layout).
std::vector<uint8_t> BuildSysExDump(int model, const HardwareDataImage& image);

// The layout of a model code; false for codes no hardware uses.
bool LayoutOfModel(int model, HardwareLayout& layout);
