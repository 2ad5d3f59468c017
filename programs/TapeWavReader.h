#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The first channel of a WAV recording as samples in -1...1.
struct TapeWav {
  double sampleRate = 0.0;
  int channels = 0;
  std::vector<double> samples;
};

// A recording or the reason it cannot be read (`error` empty on success).
struct TapeWavResult {
  TapeWav wav;
  std::string error;
};

// Reads a RIFF/WAVE file held in memory: integer PCM of 8, 16, 24 or 32 bits or
// IEEE float of 32 or 64 bits, plain or extensible, one or two channels. A data chunk
// cut short (streaming recorders state a size they never reach) gives the frames
// present; non-finite float samples count as 0.
TapeWavResult ReadTapeWav(const uint8_t* data, std::size_t size);
