#pragma once

#include <cmath>

// Every recursive filter adds this offset, its sign flipped each sample, to its
// input and states so they never sink into denormal numbers.
constexpr double kDenormalOffset = 1e-13;

// Input and state guard of every recursive filter: NaN, and infinity (which a
// saturated feedback loop would otherwise hold for ever), count as silence; any
// other value gets the alternating offset.
inline double GuardSample(double value, double offset) {
  return std::isfinite(value) ? value + offset : 0.0;
}

// Second-order filter with a quality factor of 1/sqrt(2) (Butterworth), used for
// smoothing and for the fixed low and high cuts of the output stage. `Setup`
// places the corner; `Process` is the same recursion for both kinds.
class Filter {
  friend struct BiquadLanes;

 public:
  // Clears the history and computes the feedback part; a rate of 0 or below
  // puts the corner at 0 Hz.
  virtual void Setup(double sampleRate, double corner);
  virtual ~Filter() = default;

  // One sample; a NaN or infinite input or history value counts as 0.
  double Process(double x) {
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
  // Forgets the history, so the next input starts from silence.
  void Clear();

 protected:
  // Shared by the feed-forward coefficients of both kinds.
  double cosine_ = 1.0;  // cos of the corner's angular step
  double norm_ = 1.0;    // 1 / (1 + alpha)

  double b0_ = 0.0;  // b2 equals b0
  double b1_ = 0.0;

 private:
  double a1_ = 0.0;
  double a2_ = 0.0;
  double x1_ = 0.0;
  double x2_ = 0.0;
  double y1_ = 0.0;
  double y2_ = 0.0;
  double denormalOffset_ = kDenormalOffset;
};

class LowPass : public Filter {
 public:
  void Setup(double sampleRate, double corner) override;
};

class HighPass : public Filter {
 public:
  void Setup(double sampleRate, double corner) override;
};
