#pragma once

// Tape-like damage done to a clean tape signal, seeded so every run sees the same
// recording. Shared by the tape tests and the noise-margin benchmark.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/Filter.h"

namespace tape_damage {

inline void Filtered(Filter& filter, std::vector<double>& samples, double rate, double corner) {
  filter.Setup(rate, corner);
  for (double& s : samples) s = filter.Process(s);
}

// The cut of a cassette deck's bass (about 300 Hz) and treble (about 6 kHz).
inline void TapeBand(std::vector<double>& samples, double rate) {
  HighPass highPass;
  Filtered(highPass, samples, rate, 300.0);
  LowPass lowPass;
  Filtered(lowPass, samples, rate, 6000.0);
}

inline void Offset(std::vector<double>& samples, double offset) {
  for (double& s : samples) s += offset;
}

// The second half four times quieter than the first.
inline void LevelDrop(std::vector<double>& samples) {
  for (std::size_t i = samples.size() / 2; i < samples.size(); ++i) samples[i] *= 0.25;
}

// Mains hum at 50 Hz.
inline void Hum(std::vector<double>& samples, double rate, double amplitude) {
  const double step = 2.0 * 3.141592653589793 * 50.0 / rate;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] += amplitude * std::sin(step * static_cast<double>(i));
  }
}

// White Gaussian noise of the given RMS level.
inline void Noise(std::vector<double>& samples, double rms, uint32_t seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> gauss(0.0, rms);
  for (double& s : samples) s += gauss(random);
}

}  // namespace tape_damage
