#pragma once

#include <string>

class AudioFileWriter;

// The gain in decibels that brings a render peaking at `peak` (linear) to `targetDbfs`;
// 0 for a silent render.
double NormalizingGain(double peak, double targetDbfs);

// What the user must hear about the level of a finished file: how many samples were
// clipped, the peak and the gain that would have fitted it; for float files that hold
// samples beyond full scale, that they do. Empty when the level is within full scale.
std::string LevelWarning(const AudioFileWriter& out);
