#pragma once

#include <array>
#include <vector>

#include "engine/Filter.h"

// Line length at the longest clock step (u = 1), i.e. the longest delay.
constexpr double kChorusLineSeconds = 0.04;

// Model of an analog clocked delay line (bucket brigade) whose clock is swept by a
// triangle LFO. Input is sampled into the line at the clock rate and read back out
// one full line later, so the delay is line length x clock step: 5 ms to 40 ms with
// a 0.04 s line.
class Chorus {
 public:
  Chorus();  // set up for 44100 Hz

  // Reallocates the line for `seconds` at the longest clock step and restarts it;
  // the only place that allocates. Rates too low for one cell give a silent line.
  void SetSampleRate(double rate, double seconds);

  void SetBase(double base) { base_ = base; }
  void SetDepth(double depth) { depth_ = depth; }
  // LFO phase increment per control tick; the phase runs over a range of 2.
  void SetRate(double rate) { rate_ = rate; }

  // Once per control tick: advances the LFO and sets the clock step it implies.
  void TickLfo();

  // One sample in, the wet (delayed) signal out.
  double Process(double x);

 private:
  LowPass preFilter_;
  LowPass postFilter_;
  std::array<double, 4> input_{};   // oldest first, after the pre-filter
  std::array<double, 4> output_{};  // oldest first, after the post-filter

  std::vector<double> line_;
  int writePosition_ = 0;
  double fraction_ = 0.0;  // clock position within the current sample
  double clockStep_ = 1.0;
  double inverseClockStep_ = 1.0;

  double phase_ = 0.0;  // -1 .. 1
  double rate_ = 0.13;
  double base_ = 0.0;
  double depth_ = 0.0;
};
