#include "programs/TapeWriter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "programs/TapeFormat.h"

namespace {

constexpr int kLeadInFrames = 512;
constexpr int kLeadOutFrames = 128;
constexpr uint8_t kLeadingByte = 0;
constexpr double kSilence = 0.1;    // seconds at either end
constexpr double kAmplitude = 0.5;  // half of full scale

// Half-wave lengths in units of a short half-wave: a 1 is one unit, a 0 two.
void AppendFrame(std::vector<uint8_t>& halfWaves, uint8_t byte) {
  halfWaves.push_back(2);
  for (int i = 0; i < 8; ++i) halfWaves.push_back((byte >> i & 1) ? 1 : 2);
  halfWaves.push_back(1);
  halfWaves.push_back(1);
}

std::vector<uint8_t> HalfWaves(const std::vector<uint8_t>& image) {
  std::vector<uint8_t> halfWaves;
  halfWaves.reserve(tape::kFrameBits * (kLeadInFrames + image.size() + 3 + kLeadOutFrames));
  for (int i = 0; i < kLeadInFrames; ++i) AppendFrame(halfWaves, tape::kLeadByte);
  for (int i = 0; i < tape::kLeadingBytes; ++i) AppendFrame(halfWaves, kLeadingByte);
  unsigned sum = 0;
  for (uint8_t byte : image) {
    AppendFrame(halfWaves, byte);
    sum += byte;
  }
  AppendFrame(halfWaves, static_cast<uint8_t>(sum));
  for (int i = 0; i < kLeadOutFrames; ++i) AppendFrame(halfWaves, tape::kLeadByte);
  return halfWaves;
}

// Adds `level` over the time from `begin` to `end` (in samples) to the samples it
// covers, each in proportion to the part of its period it covers.
void AddSpan(std::vector<double>& samples, double begin, double end, double level) {
  for (auto n = static_cast<std::size_t>(begin); static_cast<double>(n) < end; ++n) {
    const double from = std::max(begin, static_cast<double>(n));
    const double to = std::min(end, static_cast<double>(n + 1));
    samples[n] += level * (to - from);
  }
}

}  // namespace

std::vector<double> RenderTapeSignal(const std::vector<uint8_t>& image, double sampleRate) {
  const std::vector<uint8_t> halfWaves = HalfWaves(image);
  const double unit = sampleRate * tape::kShortHalfWave;
  const double start = std::ceil(kSilence * sampleRate);
  std::size_t units = 0;
  for (uint8_t length : halfWaves) units += length;
  std::vector<double> samples(
      static_cast<std::size_t>(std::ceil(2.0 * start + static_cast<double>(units) * unit)), 0.0);

  // Edge times come from whole unit counts, so no rounding piles up along the tape.
  std::size_t elapsed = 0;
  double level = kAmplitude;
  for (uint8_t length : halfWaves) {
    const double begin = start + static_cast<double>(elapsed) * unit;
    elapsed += length;
    AddSpan(samples, begin, start + static_cast<double>(elapsed) * unit, level);
    level = -level;
  }
  return samples;
}

std::vector<uint8_t> WriteTapeWav(const std::vector<uint8_t>& image, const WavFormat& format) {
  return EncodeWav(RenderTapeSignal(image, format.sampleRate), format);
}
