#pragma once

#include <cstdint>

class NoiseStride;

// White noise from a 32-bit multiplicative generator. One generator feeds all
// voices and the global filter path, so the noise is one continuous sequence.
class NoiseGenerator {
 public:
  // Next sample, uniform in [-1, 1).
  double Next() {
    // Unsigned arithmetic wraps by definition; signed multiplication would overflow.
    state_ *= kMultiplier;
    return Sample(state_);
  }

  // Voices rendered a run of samples at a time take the very samples they would take
  // one sample at a time: with `stride` voices drawing once per sample, the voice
  // drawing `first` takes draws first, first + stride, ... Skip then passes over all
  // of the run's draws.
  NoiseStride Stride(int first, int stride) const;
  void Skip(int draws) { state_ *= Power(kMultiplier, draws); }

  // Exactly 2^-31, so even the extreme states stay inside [-1, 1).
  static double Sample(uint32_t state) { return static_cast<int32_t>(state) * kScale; }
  // base^exponent modulo 2^32, i.e. `exponent` steps of the generator at once.
  static uint32_t Power(uint32_t base, int exponent) {
    uint32_t result = 1;
    for (; exponent > 0; exponent >>= 1, base *= base) {
      if (exponent & 1) result *= base;
    }
    return result;
  }

 private:
  static constexpr uint32_t kMultiplier = 16807u;
  static constexpr double kScale = 1.0 / 2147483648.0;

  uint32_t state_ = 1;
};

// Every stride-th sample of a NoiseGenerator's sequence (see NoiseGenerator::Stride).
class NoiseStride {
 public:
  NoiseStride() = default;
  NoiseStride(uint32_t next, uint32_t step) : next_(next), step_(step) {}
  double Next() {
    const double sample = NoiseGenerator::Sample(next_);
    next_ *= step_;
    return sample;
  }

 private:
  uint32_t next_ = 0;
  uint32_t step_ = 0;
};

inline NoiseStride NoiseGenerator::Stride(int first, int stride) const {
  return {state_ * Power(kMultiplier, first + 1), Power(kMultiplier, stride)};
}
