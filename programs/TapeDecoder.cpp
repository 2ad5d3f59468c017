#include "programs/TapeDecoder.h"

#include <new>

#include "programs/TapeBitDetector.h"
#include "programs/TapeStreamSearch.h"
#include "programs/TapeWavReader.h"
#include "programs/WholeFile.h"

namespace {

// Recordings are read up to this size: an hour of 48 kHz stereo 24-bit audio.
constexpr std::size_t kLargestRecording = std::size_t{1} << 30;

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
  if (!ReadFileStart(path, kLargestRecording, bytes)) {
    return TapeDecodeResult{{}, "the file cannot be read"};
  }
  return DecodeTape(bytes.data(), bytes.size(), settings);
}
