#pragma once

#include <cstdint>
#include <vector>

#include "programs/TapeReadSettings.h"

// One half-wave of a tape recording, reduced to its bit.
enum TapeBit : uint8_t {
  kTapeBit0 = 0,
  kTapeBit1 = 1,
  // Far shorter than a 1 or far longer than a 0: noise split a half-wave or swallowed
  // some. Any frame holding one is invalid.
  kTapeBitBroken = 2,
};

// Filters the recording as the settings ask (in place), removes its mean and finds its
// half-waves: each starts where the signal crosses the detection level (the threshold's
// share of the mean absolute level) upwards, or its negative downwards, the time
// interpolated between the two samples. Timing the crossings rather than the peaks keeps
// the flat tops of square waves, where noise alone decides which sample is highest, from
// moving the events. The distance from the previous one gives the bit.
std::vector<uint8_t> DetectTapeBits(std::vector<double>& samples, double sampleRate,
                                    const TapeReadSettings& settings);
