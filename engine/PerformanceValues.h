#pragma once

// Live performance values the plug-in object shares with every voice; the voices
// read them by reference, so one write reaches all 64.
struct PerformanceValues {
  double pitchBendOffset = 0.0;  // pitch-index units
  double modWheel = 0.0;         // 0..1
  double breath = 0.0;           // 0..1
  double vcfModulation = 0.0;    // pitch-index units
};
