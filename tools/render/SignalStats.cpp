#include "tools/render/SignalStats.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Decibels(double level) {
  if (level <= 0.0) return "-inf dBFS";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(level));
  return text;
}

}  // namespace

void SignalStats::Add(const double* left, const double* right, int frames) {
  const double* channels[] = {left, right};
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < frames; ++i) {
      const double sample = channels[c][i];
      peak_[c] = std::fmax(peak_[c], std::fabs(sample));
      sumOfSquares_[c] += sample * sample;
    }
  }
  frames_ += frames;
}

double SignalStats::Rms(int channel) const {
  return frames_ > 0 ? std::sqrt(sumOfSquares_[channel] / static_cast<double>(frames_)) : 0.0;
}

std::string SignalStats::Report(double sampleRate, double wallSeconds) const {
  const double audioSeconds = static_cast<double>(frames_) / sampleRate;
  std::string report;
  const char* names[] = {"left ", "right"};
  for (int c = 0; c < 2; ++c) {
    char line[160];
    std::snprintf(line, sizeof line, "%s  peak %.4f (%s)  RMS %.4f (%s)\n", names[c], peak_[c],
                  Decibels(peak_[c]).c_str(), Rms(c), Decibels(Rms(c)).c_str());
    report += line;
  }
  char line[160];
  std::snprintf(line, sizeof line, "rendered %.2f s of audio in %.3f s: %.1f x real time\n",
                audioSeconds, wallSeconds, wallSeconds > 0.0 ? audioSeconds / wallSeconds : 0.0);
  return report + line;
}
