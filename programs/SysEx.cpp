#include "programs/SysEx.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

constexpr uint8_t kHeader[] = {0xF0, 0x42, 0x21};
constexpr size_t kHeaderSize = sizeof kHeader + 1;  // and the model code
constexpr uint8_t kEndOfExclusive = 0xF7;

const char* ModelName(HardwareLayout layout) {
  return layout == HardwareLayout::kPoly800II ? "Poly-800 II" : "Poly-800/EX-800";
}

void PutNibbles(std::vector<uint8_t>& dump, uint8_t byte) {
  dump.push_back(byte & 0x0F);
  dump.push_back(static_cast<uint8_t>(byte >> 4));
}

// The position of the first byte of the data that is no data nibble, or `end`.
size_t FirstBadNibble(const uint8_t* bytes, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i) {
    if (bytes[i] > 0x0F) return i;
  }
  return end;
}

}  // namespace

bool LayoutOfModel(int model, HardwareLayout& layout) {
  if (model != kEx800 && model != kMidiDumpKit && model != kPoly800II) return false;
  layout = model == kPoly800II ? HardwareLayout::kPoly800II : HardwareLayout::kPoly800;
  return true;
}

int SysExDumpSize(HardwareLayout layout) {
  return static_cast<int>(kHeaderSize) + 2 * HardwareDataImage::SizeOf(layout) + 2 + 1;
}

SysExDump ParseSysExDump(const uint8_t* bytes, size_t length) {
  SysExDump dump;
  HardwareLayout layout = HardwareLayout::kPoly800;
  if (!bytes || length < kHeaderSize || bytes[0] != kHeader[0] || bytes[1] != kHeader[1] ||
      bytes[2] != kHeader[2] || !LayoutOfModel(bytes[3], layout)) {
    dump.error = "This is not a SysEx dump of a Poly-800, EX-800 or Poly-800 II.";
    return dump;
  }
  const size_t size = static_cast<size_t>(SysExDumpSize(layout));
  const size_t dataEnd = size - 1;
  const size_t bad = FirstBadNibble(bytes, kHeaderSize, std::min(length, dataEnd));
  if (bad < std::min(length, dataEnd)) {
    dump.error = bytes[bad] == kEndOfExclusive
                     ? std::string("The ") + ModelName(layout) + " dump ends early."
                     : std::string("The ") + ModelName(layout) + " dump is damaged.";
    return dump;
  }
  if (length < size || bytes[dataEnd] != kEndOfExclusive) {
    dump.error = std::string("The ") + ModelName(layout) + " dump is incomplete.";
    return dump;
  }
  HardwareDataImage image(layout);
  const uint8_t* nibbles = bytes + kHeaderSize;
  for (uint8_t& byte : image.Bytes()) {
    byte = static_cast<uint8_t>(nibbles[0] | (nibbles[1] << 4));
    nibbles += 2;
  }
  if (static_cast<uint8_t>(nibbles[0] | (nibbles[1] << 4)) != image.Checksum()) {
    dump.error = std::string("The ") + ModelName(layout) + " dump fails its checksum.";
    return dump;
  }
  dump.model = bytes[3];
  dump.image = std::move(image);
  return dump;
}

std::vector<uint8_t> BuildSysExDump(int model, const HardwareDataImage& image) {
  std::vector<uint8_t> dump(std::begin(kHeader), std::end(kHeader));
  dump.reserve(static_cast<size_t>(SysExDumpSize(image.Layout())));
  dump.push_back(static_cast<uint8_t>(model));
  for (uint8_t byte : image.Bytes()) PutNibbles(dump, byte);
  PutNibbles(dump, image.Checksum());
  dump.push_back(kEndOfExclusive);
  return dump;
}
