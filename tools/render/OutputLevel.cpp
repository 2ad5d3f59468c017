#include "tools/render/OutputLevel.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "tools/render/AudioFileWriter.h"

namespace {

double Decibels(double level) {
  return 20.0 * std::log10(level);
}

}  // namespace

double NormalizingGain(double peak, double targetDbfs) {
  return peak > 0.0 ? targetDbfs - Decibels(peak) : 0.0;
}

std::string LevelWarning(const AudioFileWriter& out) {
  if (!(out.Peak() > 1.0)) return "";
  const double peakDbfs = Decibels(out.Peak());
  // Rounded down to a tenth of a decibel, so the suggestion really fits.
  const double fittingGain = std::floor((out.GainDecibels() - peakDbfs) * 10.0) / 10.0;
  char text[320];
  if (out.WritesFloat()) {
    std::snprintf(text, sizeof text,
                  "note: the render peaks at %+.1f dBFS; the float file keeps it unclipped, "
                  "but players clip it (--gain %.1f or --normalize fits it)\n",
                  peakDbfs, fittingGain);
  } else {
    const double share = 100.0 * static_cast<double>(out.SamplesBeyondFullScale()) /
                         static_cast<double>(out.SamplesWritten());
    std::snprintf(text, sizeof text,
                  "warning: %s samples (%.2f %%) were clipped; the render peaks at %+.1f dBFS. "
                  "--gain %.1f or --normalize fits it, --bits 32 keeps it unclipped\n",
                  std::to_string(out.SamplesBeyondFullScale()).c_str(), share, peakDbfs,
                  fittingGain);
  }
  return text;
}
