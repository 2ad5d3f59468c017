#include "engine/Filter.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kSqrtTwo = 1.4142135623730951;

}  // namespace

void Filter::Setup(double sampleRate, double corner) {
  x1_ = x2_ = y1_ = y2_ = 0.0;
  denormalOffset_ = kDenormalOffset;
  const double w = sampleRate > 0.0 ? kTwoPi * corner / sampleRate : 0.0;
  const double alpha = std::sin(w) / kSqrtTwo;
  cosine_ = std::cos(w);
  norm_ = 1.0 / (1.0 + alpha);
  a1_ = 2.0 * cosine_ * norm_;
  a2_ = (alpha - 1.0) * norm_;
}

double Filter::Process(double x) {
  const double d = denormalOffset_;
  const double u = GuardSample(x, d);
  x1_ = GuardSample(x1_, d);
  x2_ = GuardSample(x2_, d);
  y1_ = GuardSample(y1_, d);
  y2_ = GuardSample(y2_, d);
  denormalOffset_ = -d;

  const double y = b0_ * (u + x2_) + b1_ * x1_ + a1_ * y1_ + a2_ * y2_;
  x2_ = x1_;
  x1_ = u;
  y2_ = y1_;
  y1_ = y;
  return y;
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
