#pragma once

#include <array>

// Segment times in seconds of the linear (legacy) envelope, one per time-parameter step 0-31.
inline constexpr std::array<double, 32> DegTimeTable = {
    0.004, 0.008, 0.012, 0.018, 0.024, 0.032, 0.04,  0.048,  //
    0.056, 0.064, 0.072, 0.08,  0.088, 0.094, 0.102, 0.112,  //
    0.124, 0.15,  0.175, 0.2,   0.24,  0.3,   0.4,   0.6,    //
    1.2,   2.4,   3.6,   4.8,   6.2,   7.6,   10.0,  13.4};

// Seconds of a full-scale ramp for a normalised time parameter t (plain value / 31).
// Values between the steps interpolate linearly between neighbouring entries;
// t is clamped to 0..1.
double DegSegmentTime(double t);
