#include "engine/SquareTables.h"

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfOctaveDown = 0.7071067811865476;  // 1 / sqrt(2)
constexpr int kLast = SquareTables::kCount - 1;

}  // namespace

const SquareTables& SquareTables::Get() {
  static const SquareTables tables;
  return tables;
}

SquareTables::SquareTables() {
  std::array<double, kLength> sine{};
  for (int k = 0; k < kLength; ++k) sine[k] = std::sin(2.0 * kPi * k / kLength);
  for (int j = 0; j < kCount; ++j) Build(j, sine);
}

// Odd harmonics up to N = 1024 / sqrt(2)^j, amplitudes 0.5 / h tapered by a
// raised cosine towards N so the top of the band does not ring.
void SquareTables::Build(int j, const std::array<double, kLength>& sine) {
  const int n = static_cast<int>(std::lround(kNyquistStep / std::pow(2.0, j / 2.0)));
  highestHarmonic_[j] = n % 2 == 1 ? n : n - 1;
  std::array<double, kLength>& table = tables_[j];
  for (int h = 1; h <= n; h += 2) {
    const double taper = h == 1 ? 1.0 : 0.54 + 0.46 * std::cos((h - 1) * (kPi / 2) / (n - 1));
    const double amplitude = taper * 0.5 / h;
    // h * k wraps modulo the cycle, so the sine of every partial is read exactly.
    for (int k = 0; k < kLength; ++k) table[k] += amplitude * sine[(h * k) % kLength];
  }
}

int SquareTables::IndexForStep(double step) const {
  int j = 0;
  for (double s = step; s > 1.0 && j < kLast; s *= kHalfOctaveDown) ++j;
  // N is rounded, so at the fast end of its half-octave a table's top partial
  // may still reach Nyquist; move on to the next one then.
  while (j < kLast && step * highestHarmonic_[j] >= kNyquistStep) ++j;
  return j;
}
