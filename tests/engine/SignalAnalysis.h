#pragma once

// Measurements on rendered signals for the engine tests.

#include <cmath>
#include <complex>
#include <cstddef>
#include <utility>
#include <vector>

namespace signal_analysis {

constexpr double kPi = 3.141592653589793;

// Frequency from the rising zero crossings, each placed by linear interpolation
// between the samples around it; 0 when there are fewer than two.
inline double MeasureFrequency(const std::vector<double>& x, double rate) {
  double first = -1.0;
  double last = -1.0;
  int crossings = 0;
  for (std::size_t n = 1; n < x.size(); ++n) {
    if (x[n - 1] < 0.0 && x[n] >= 0.0) {
      const double t = static_cast<double>(n - 1) + x[n - 1] / (x[n - 1] - x[n]);
      if (crossings == 0) first = t;
      last = t;
      ++crossings;
    }
  }
  if (crossings < 2) return 0.0;
  return (crossings - 1) * rate / (last - first);
}

// 4-term Blackman-Harris window: side lobes below -92 dB.
inline double BlackmanHarris(std::size_t n, std::size_t size) {
  const double x = 2.0 * kPi * static_cast<double>(n) / static_cast<double>(size);
  return 0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
}

// Amplitude of the sine component at `frequency`, by a windowed projection.
inline double Amplitude(const std::vector<double>& x, double rate, double frequency) {
  std::complex<double> sum;
  double weight = 0.0;
  for (std::size_t n = 0; n < x.size(); ++n) {
    const double w = BlackmanHarris(n, x.size());
    sum += w * x[n] * std::polar(1.0, -2.0 * kPi * frequency * static_cast<double>(n) / rate);
    weight += w;
  }
  return 2.0 * std::abs(sum) / weight;
}

// In-place radix-2 FFT; the size must be a power of two.
inline void Fft(std::vector<std::complex<double>>& a) {
  const std::size_t size = a.size();
  for (std::size_t i = 1, j = 0; i < size; ++i) {
    std::size_t bit = size >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (std::size_t length = 2; length <= size; length <<= 1) {
    const std::complex<double> unit = std::polar(1.0, -2.0 * kPi / static_cast<double>(length));
    for (std::size_t start = 0; start < size; start += length) {
      std::complex<double> w = 1.0;
      for (std::size_t k = 0; k < length / 2; ++k) {
        const std::complex<double> odd = a[start + k + length / 2] * w;
        a[start + k + length / 2] = a[start + k] - odd;
        a[start + k] += odd;
        w *= unit;
      }
    }
  }
}

// Power of bins 0..size/2 of `x` (power-of-two length), optionally windowed.
inline std::vector<double> PowerSpectrum(const std::vector<double>& x, bool windowed) {
  std::vector<std::complex<double>> a(x.size());
  for (std::size_t n = 0; n < x.size(); ++n) {
    a[n] = windowed ? x[n] * BlackmanHarris(n, x.size()) : x[n];
  }
  Fft(a);
  std::vector<double> power(x.size() / 2 + 1);
  for (std::size_t k = 0; k < power.size(); ++k) power[k] = std::norm(a[k]);
  return power;
}

}  // namespace signal_analysis
