#include "programs/TapeWavReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr int kMaxChannels = 2;
// Samples held at most (1 GiB of them): longer recordings are read from their start.
constexpr uint64_t kMaxFrames = uint64_t{1} << 27;

// The sub-format GUIDs of the extensible format share everything but their first two
// bytes, which hold the plain format tag.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint32_t Little(const uint8_t* p, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

struct SampleFormat {
  uint16_t tag = 0;  // kFormatPcm or kFormatFloat once understood
  int channels = 0;
  double sampleRate = 0.0;
  int bits = 0;

  int FrameBytes() const { return channels * bits / 8; }
};

// Reads a "fmt " chunk body; answers a reason when the format is not one we read.
std::string ReadFormat(const uint8_t* body, uint64_t size, SampleFormat& format) {
  if (size < 16) return "the format chunk is too short";
  format.tag = static_cast<uint16_t>(Little(body, 2));
  format.channels = static_cast<int>(Little(body + 2, 2));
  format.sampleRate = Little(body + 4, 4);
  format.bits = static_cast<int>(Little(body + 14, 2));
  if (format.tag == kFormatExtensible) {
    if (size < 40 || std::memcmp(body + 26, kSubFormatTail, sizeof kSubFormatTail) != 0) {
      return "the extensible format names an unknown sub-format";
    }
    format.tag = static_cast<uint16_t>(Little(body + 24, 2));
  }
  const bool pcm = format.tag == kFormatPcm && (format.bits == 8 || format.bits == 16 ||
                                                format.bits == 24 || format.bits == 32);
  const bool floating = format.tag == kFormatFloat && (format.bits == 32 || format.bits == 64);
  if (!pcm && !floating) return "the sample format is neither 8-32 bit PCM nor 32/64 bit float";
  if (format.channels < 1 || format.channels > kMaxChannels)
    return "the file has no or too many channels";
  if (!(format.sampleRate > 0.0)) return "the sample rate is 0";
  return {};
}

double FloatSample(const uint8_t* p, int bits) {
  double value;
  if (bits == 32) {
    const uint32_t raw = Little(p, 4);
    float f;
    std::memcpy(&f, &raw, sizeof f);
    value = f;
  } else {
    const uint64_t raw = static_cast<uint64_t>(Little(p + 4, 4)) << 32 | Little(p, 4);
    std::memcpy(&value, &raw, sizeof value);
  }
  return std::isfinite(value) ? value : 0.0;
}

double Sample(const uint8_t* p, const SampleFormat& format) {
  if (format.tag == kFormatFloat) return FloatSample(p, format.bits);
  switch (format.bits) {
    case 8:
      return p[0] / 128.0 - 1.0;
    case 16:
      return static_cast<int16_t>(Little(p, 2)) / 32768.0;
    case 24:
      return static_cast<int32_t>(Little(p, 3) << 8) / 2147483648.0;
    default:
      return static_cast<int32_t>(Little(p, 4)) / 2147483648.0;
  }
}

}  // namespace

TapeWavResult ReadTapeWav(const uint8_t* data, std::size_t size) {
  TapeWavResult result;
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
    result.error = "not a WAV file";
    return result;
  }
  SampleFormat format;
  std::string formatError = "the file has no format chunk";
  // 64-bit positions: a stated size near 4 GiB cannot wrap the walk back to the start.
  uint64_t position = 12;
  while (position + 8 <= size) {
    const uint8_t* header = data + position;
    const uint64_t stated = Little(header + 4, 4);
    const uint64_t body = position + 8;
    const uint64_t present = size - body;
    if (std::memcmp(header, "data", 4) == 0 && formatError.empty() && stated > 0) {
      const uint64_t frames =
          std::min((stated < present ? stated : present) / format.FrameBytes(), kMaxFrames);
      if (frames == 0) {
        result.error = "the recording holds no samples";
        return result;
      }
      try {
        result.wav.samples.resize(frames);
      } catch (const std::bad_alloc&) {
        result.error = "the recording is too long to be held in memory";
        return result;
      }
      const uint8_t* frame = data + body;
      for (double& sample : result.wav.samples) {
        sample = Sample(frame, format);
        frame += format.FrameBytes();
      }
      result.wav.sampleRate = format.sampleRate;
      result.wav.channels = format.channels;
      return result;
    }
    if (stated > present) break;  // a chunk that does not fit ends the walk
    if (std::memcmp(header, "fmt ", 4) == 0) formatError = ReadFormat(data + body, stated, format);
    position = body + stated + (stated & 1);  // odd chunks are followed by a pad byte
  }
  result.error = formatError.empty() ? "the file has no data chunk" : formatError;
  return result;
}
