#include "engine/Filter.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kSqrtTwo = 1.4142135623730951;

}  // namespace

void Filter::Setup(double sampleRate, double corner) {
  Clear();
  const double w = sampleRate > 0.0 ? kTwoPi * corner / sampleRate : 0.0;
  const double alpha = std::sin(w) / kSqrtTwo;
  cosine_ = std::cos(w);
  norm_ = 1.0 / (1.0 + alpha);
  a1_ = 2.0 * cosine_ * norm_;
  a2_ = (alpha - 1.0) * norm_;
}

void Filter::Clear() {
  x1_ = x2_ = y1_ = y2_ = 0.0;
  denormalOffset_ = kDenormalOffset;
}

void LowPass::Setup(double sampleRate, double corner) {
  Filter::Setup(sampleRate, corner);
  b1_ = (1.0 - cosine_) * norm_;
  b0_ = b1_ / 2.0;
}

void HighPass::Setup(double sampleRate, double corner) {
  Filter::Setup(sampleRate, corner);
  b1_ = -(1.0 + cosine_) * norm_;
  b0_ = -b1_ / 2.0;
}
