#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

// When the sequencer's steps fall. The internal clock counts whole samples from the
// last step; the host clock puts the steps on the host's beat grid. Both say where a
// step falls as a sample offset from the control tick being advanced.
class SequencerClock {
 public:
  static constexpr double kDefaultTempo = 120.0;
  static constexpr int kDivisionCount = 20;

  // Length of division `index` (0 "4/1" … 19 "1/64") in quarter notes, and its name.
  static double DivisionQuarters(int index);
  static const char* DivisionName(int index);

  void SetHostClock(bool host) { host_ = host; }
  bool HostClock() const { return host_; }
  double Tempo() const { return tempo_; }
  double StepLength() const { return length_; }

  // Internal clock: a sixteenth at `frequency` BPM; the samples counted since the last
  // step stay counted. Host clock: the division at the host's tempo.
  void UpdateStepLength(double rate, double frequency, int division);
  // The host's tempo rounded to 0.001 BPM; a missing, non-finite or absurd one counts
  // as 120. True when it differs from the tempo held.
  bool TakeHostTempo(double bpm);
  // Internal clock: the next step plays at the next tick.
  void Restart();
  // Host clock: the next grid position plays even when it was played before (the host
  // jumped back or started again).
  void ForgetPlayedSteps() { lastGrid_ = -std::numeric_limits<double>::infinity(); }
  // Host clock: the next step on the grid at or after the block start, given the host's
  // position there (PPQ, or the sample position when the PPQ is not valid). `covered`
  // samples of the block belong to the tick already advanced; a step due in them plays
  // at the next tick.
  void AlignToHost(double ppq, double samplePosition, int covered);

  // Calls play(offset) for each step due within the next `samples` samples.
  template <typename Play>
  void Advance(int samples, Play&& play);

 private:
  template <typename Play>
  void AdvanceInternal(int samples, Play& play);
  template <typename Play>
  void AdvanceHost(int samples, Play& play);

  bool host_ = false;
  double tempo_ = kDefaultTempo;
  double length_ = 1.0;  // samples per step, never below one
  double quarters_ = 0.25;
  double samplesPerQuarter_ = 1.0;
  // Internal clock: samples counted since the last step, and the count that plays the next.
  double counted_ = 0.0;
  double target_ = 0.0;
  // Host clock: samples from the tick to the next step, and grid positions in steps.
  double untilStep_ = 0.0;
  double nextGrid_ = 0.0;
  double lastGrid_ = -std::numeric_limits<double>::infinity();
};

template <typename Play>
void SequencerClock::Advance(int samples, Play&& play) {
  if (host_) {
    AdvanceHost(samples, play);
  } else {
    AdvanceInternal(samples, play);
  }
}

// A step plays on the first sample whose count reaches the target; counting restarts
// at that sample.
template <typename Play>
void SequencerClock::AdvanceInternal(int samples, Play& play) {
  int done = 0;
  for (;;) {
    const double needed = std::max(1.0, std::ceil(target_ - counted_));
    if (needed > samples - done) {
      counted_ += samples - done;
      return;
    }
    done += static_cast<int>(needed);
    play(done - 1);
    counted_ = 0.0;
    target_ = length_;
  }
}

// Steps keep their exact grid distance; each plays on the first whole sample at or
// after its place. At least one sample apart, so a tick ends.
template <typename Play>
void SequencerClock::AdvanceHost(int samples, Play& play) {
  while (untilStep_ <= samples - 1) {
    const int offset = std::max(0, static_cast<int>(std::ceil(untilStep_)));
    play(offset);
    lastGrid_ = nextGrid_;
    nextGrid_ += 1.0;
    untilStep_ += length_;
  }
  untilStep_ -= samples;
}
