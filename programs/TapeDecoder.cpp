#include "programs/TapeDecoder.h"

#include <cstdio>
#include <new>

#include "programs/TapeBitDetector.h"
#include "programs/TapeStreamSearch.h"
#include "programs/TapeWavReader.h"

namespace {

// Whole file in memory; false when it cannot be opened, read or held.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bool read = false;
  try {
    uint8_t block[65536];
    std::size_t count;
    while ((count = std::fread(block, 1, sizeof block, file)) > 0) {
      bytes.insert(bytes.end(), block, block + count);
    }
    read = !std::ferror(file);
  } catch (const std::bad_alloc&) {
    read = false;
  }
  std::fclose(file);
  return read;
}

}  // namespace

TapeDecodeResult DecodeTape(const uint8_t* data, std::size_t size,
                            const TapeReadSettings& settings) {
  TapeDecodeResult result;
  TapeWavResult wav = ReadTapeWav(data, size);
  if (!wav.error.empty()) {
    result.error = wav.error;
    return result;
  }
  try {
    const std::vector<uint8_t> bits = DetectTapeBits(wav.wav.samples, wav.wav.sampleRate, settings);
    TapeStreamResult found = FindTapeStream(bits);
    result.stream = std::move(found.stream);
    result.error = std::move(found.error);
  } catch (const std::bad_alloc&) {
    result.error = "the recording is too long to be held in memory";
  }
  return result;
}

TapeDecodeResult DecodeTapeFile(const std::string& path, const TapeReadSettings& settings) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return TapeDecodeResult{{}, "the file cannot be read"};
  return DecodeTape(bytes.data(), bytes.size(), settings);
}
