#pragma once

#include <cstdint>
#include <vector>

// The sample format of a written WAV file.
enum class WavSampleFormat { kPcm16, kPcm24, kFloat32 };

struct WavFormat {
  int sampleRate = 44100;
  int channels = 1;  // every channel carries the same signal
  WavSampleFormat sampleFormat = WavSampleFormat::kPcm16;
};

// A RIFF/WAVE file of `samples` (-1...1, clipped) in the given format.
std::vector<uint8_t> EncodeWav(const std::vector<double>& samples, const WavFormat& format);
