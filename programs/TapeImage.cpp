#include "programs/TapeImage.h"

#include <algorithm>

#include "programs/TapeFormat.h"
#include "programs/TapeWriter.h"

namespace {

constexpr HardwareLayout kLayouts[] = {HardwareLayout::kPoly800, HardwareLayout::kPoly800II};

std::size_t StreamSize(HardwareLayout layout) {
  return static_cast<std::size_t>(tape::kLeadingBytes + HardwareDataImage::SizeOf(layout) +
                                  tape::kTrailingBytes);
}

}  // namespace

TapeImage HardwareImageFromTape(const TapeDecodeResult& decoded) {
  TapeImage result;
  if (!decoded.error.empty()) {
    result.error = "No tape data could be read: " + decoded.error + ".";
    return result;
  }
  for (HardwareLayout layout : kLayouts) {
    if (decoded.stream.size() != StreamSize(layout)) continue;
    HardwareDataImage image(layout);
    const auto start = decoded.stream.begin() + tape::kLeadingBytes;
    std::copy(start, start + HardwareDataImage::SizeOf(layout), image.Bytes().begin());
    result.image = std::move(image);
    return result;
  }
  result.error = "The tape holds " + std::to_string(decoded.stream.size()) +
                 " bytes, the memory of no Poly-800 model.";
  return result;
}

TapeImage ReadTapeImage(const std::string& path, const TapeReadSettings& settings) {
  return HardwareImageFromTape(DecodeTapeFile(path, settings));
}

std::vector<uint8_t> TapeRecordingOf(const HardwareDataImage& image, const WavFormat& format) {
  return WriteTapeWav(image.Bytes(), format);
}
