#include "programs/TapeWavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

void PutLittle(std::vector<uint8_t>& out, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

int SampleBytes(WavSampleFormat format) {
  switch (format) {
    case WavSampleFormat::kPcm16:
      return 2;
    case WavSampleFormat::kPcm24:
      return 3;
    default:
      return 4;
  }
}

void PutSample(std::vector<uint8_t>& out, double value, WavSampleFormat format) {
  const double clipped = std::clamp(value, -1.0, 1.0);
  if (format == WavSampleFormat::kFloat32) {
    const float f = static_cast<float>(clipped);
    uint32_t raw;
    std::memcpy(&raw, &f, sizeof raw);
    PutLittle(out, raw, 4);
    return;
  }
  const int bytes = SampleBytes(format);
  const double scale = std::ldexp(1.0, 8 * bytes - 1);
  const double top = scale - 1.0;
  const auto integer = static_cast<int32_t>(std::min(std::round(clipped * scale), top));
  PutLittle(out, static_cast<uint32_t>(integer), bytes);
}

}  // namespace

std::vector<uint8_t> EncodeWav(const std::vector<double>& samples, const WavFormat& format) {
  const int sampleBytes = SampleBytes(format.sampleFormat);
  const uint32_t frameBytes = static_cast<uint32_t>(format.channels * sampleBytes);
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size()) * frameBytes;
  const bool floating = format.sampleFormat == WavSampleFormat::kFloat32;

  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes + 1);
  PutTag(out, "RIFF");
  PutLittle(out, 36 + dataBytes + (dataBytes & 1), 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutLittle(out, 16, 4);
  PutLittle(out, floating ? 3 : 1, 2);
  PutLittle(out, static_cast<uint32_t>(format.channels), 2);
  PutLittle(out, static_cast<uint32_t>(format.sampleRate), 4);
  PutLittle(out, static_cast<uint32_t>(format.sampleRate) * frameBytes, 4);
  PutLittle(out, frameBytes, 2);
  PutLittle(out, static_cast<uint32_t>(8 * sampleBytes), 2);
  PutTag(out, "data");
  PutLittle(out, dataBytes, 4);
  for (double sample : samples) {
    for (int channel = 0; channel < format.channels; ++channel) {
      PutSample(out, sample, format.sampleFormat);
    }
  }
  if (dataBytes & 1) out.push_back(0);
  return out;
}
