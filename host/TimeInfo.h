#pragma once

// The host's transport as last read; −1 marks positions the host did not give.
struct TimeInfo {
  double tempo = 120.0;
  double samplePosition = -1.0;
  double ppqPosition = -1.0;
  double lastBar = -1.0;
  double cycleStart = -1.0;
  double cycleEnd = -1.0;
  int numerator = 4;
  int denominator = 4;
  bool playing = false;
  bool looping = false;
};
