#pragma once

#include <cstdint>
#include <string>

// Peak and RMS of each channel of everything rendered.
class SignalStats {
 public:
  void Add(const double* left, const double* right, int frames);

  double Peak(int channel) const { return peak_[channel]; }
  double Rms(int channel) const;
  int64_t Frames() const { return frames_; }

  // The lines --stats prints: both channels in dBFS, and the speed as a multiple of
  // real time.
  std::string Report(double sampleRate, double wallSeconds) const;

 private:
  double peak_[2] = {};
  double sumOfSquares_[2] = {};
  int64_t frames_ = 0;
};
