#include "engine/Chorus.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFilterCorner = 7000.0;
// Below about 15.5 kHz the corner would reach Nyquist, where the biquad turns unstable.
constexpr double kHighestCornerPerRate = 0.45;
constexpr double kShortestClockStep = 0.125;  // 5 ms with the 0.04 s line
constexpr double kLongestClockStep = 1.0;

// Cubic through p1 (t = 0) and p2 (t = 1), shaped by the outer points.
double CatmullRom(const std::array<double, 4>& p, double t) {
  return p[1] + 0.5 * (p[2] - p[0]) * t + (p[0] - 2.5 * p[1] + 2.0 * p[2] - 0.5 * p[3]) * t * t +
         (0.5 * (p[3] - p[0]) + 1.5 * (p[1] - p[2])) * t * t * t;
}

void ShiftIn(std::array<double, 4>& history, double value) {
  history[0] = history[1];
  history[1] = history[2];
  history[2] = history[3];
  history[3] = value;
}

}  // namespace

Chorus::Chorus() {
  SetSampleRate(44100.0, kChorusLineSeconds);
}

void Chorus::SetSampleRate(double rate, double seconds) {
  const double cells = rate * seconds;
  const int length = cells >= 1.0 ? static_cast<int>(cells) : 0;  // also rejects NaN
  line_ = std::vector<double>(length, 0.0);
  writePosition_ = 0;
  fraction_ = 0.0;
  clockStep_ = 1.0;
  inverseClockStep_ = 1.0;
  input_.fill(0.0);
  output_.fill(0.0);
  const double corner = std::min(kFilterCorner, kHighestCornerPerRate * rate);
  preFilter_.Setup(rate, corner);
  postFilter_.Setup(rate, corner);
  rate_ = 0.13;
  TickLfo();
}

void Chorus::TickLfo() {
  const double triangle = std::fabs(phase_);
  phase_ += rate_;
  if (phase_ >= 1.0) phase_ -= 2.0;
  double step = ((std::exp2(triangle) - 1.0 - base_) * depth_ + base_) * 0.875 + 0.125;
  // Out-of-range settings must not stall the line (a step of 0 would never advance).
  if (!(step >= kShortestClockStep)) step = kShortestClockStep;
  if (step > kLongestClockStep) step = kLongestClockStep;
  clockStep_ = step;
  inverseClockStep_ = 1.0 / step;
}

double Chorus::Process(double x) {
  if (line_.empty()) return 0.0;
  ShiftIn(input_, preFilter_.Process(x));
  const int length = static_cast<int>(line_.size());
  // Every clock tick inside this sample moves the line one cell: the cell written a
  // full line ago comes out, the current input goes in.
  while (fraction_ < 1.0) {
    if (--writePosition_ < 0) writePosition_ = length - 1;
    double& cell = line_[writePosition_];
    ShiftIn(output_, postFilter_.Process(cell));
    cell = CatmullRom(input_, fraction_);
    fraction_ += clockStep_;
  }
  fraction_ -= 1.0;
  return CatmullRom(output_, 1.0 - fraction_ * inverseClockStep_);
}
