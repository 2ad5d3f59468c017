#pragma once

#include <cstdint>

// White noise from a 32-bit multiplicative generator. One generator feeds all
// voices and the global filter path, so the noise is one continuous sequence.
class NoiseGenerator {
 public:
  // Next sample, uniform in [-1, 1).
  double Next() {
    // Unsigned arithmetic wraps by definition; signed multiplication would overflow.
    state_ *= 16807u;
    return static_cast<int32_t>(state_) * kScale;
  }

 private:
  // Exactly 2^-31, so even the extreme states stay inside [-1, 1).
  static constexpr double kScale = 1.0 / 2147483648.0;

  uint32_t state_ = 1;
};
