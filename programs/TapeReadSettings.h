#pragma once

// How a tape recording is prepared before its half-waves are measured: optional
// high-pass and low-pass filters and the detection threshold, a percentage of the
// signal's mean absolute level. One set is shared by every instance.
struct TapeReadSettings {
  bool highpassEnabled = false;
  bool lowpassEnabled = false;
  double highpassFrequency = 330.0;  // Hz
  double lowpassFrequency = 5000.0;  // Hz
  double threshold = 50.0;           // percent, 1-99
};
