#include "programs/TapeBitDetector.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "engine/Filter.h"
#include "programs/TapeFormat.h"

namespace {

// A biquad's corner must sit well below half the rate; near it the high-pass turns
// unstable and the low-pass does nothing useful.
bool UsableCorner(double corner, double sampleRate) {
  return corner > 0.0 && corner < 0.45 * sampleRate;
}

void ApplyFilter(Filter& filter, std::vector<double>& samples, double sampleRate, double corner) {
  filter.Setup(sampleRate, corner);
  for (double& sample : samples) sample = filter.Process(sample);
}

void ApplyFilters(std::vector<double>& samples, double sampleRate,
                  const TapeReadSettings& settings) {
  if (settings.highpassEnabled && UsableCorner(settings.highpassFrequency, sampleRate)) {
    HighPass highPass;
    ApplyFilter(highPass, samples, sampleRate, settings.highpassFrequency);
  }
  if (settings.lowpassEnabled && UsableCorner(settings.lowpassFrequency, sampleRate)) {
    LowPass lowPass;
    ApplyFilter(lowPass, samples, sampleRate, settings.lowpassFrequency);
  }
}

// Removes the mean and answers the mean absolute level of what is left.
double CentreAndMeasure(std::vector<double>& samples) {
  if (samples.empty()) return 0.0;
  double sum = 0.0;
  for (double sample : samples) sum += sample;
  const double mean = sum / static_cast<double>(samples.size());
  double level = 0.0;
  for (double& sample : samples) {
    sample -= mean;
    level += std::fabs(sample);
  }
  return level / static_cast<double>(samples.size());
}

}  // namespace

std::vector<uint8_t> DetectTapeBits(std::vector<double>& samples, double sampleRate,
                                    const TapeReadSettings& settings) {
  ApplyFilters(samples, sampleRate, settings);
  const double threshold = std::clamp(settings.threshold, TapeReadSettings::kMinimumThreshold,
                                      TapeReadSettings::kMaximumThreshold);
  const double level = threshold * 0.01 * CentreAndMeasure(samples);
  // A 1 lasts one unit, a 0 two. Midway between them a half-wave could be either: one
  // edge moved by noise would turn a 1 0 into a 0 1 with valid frames, so lengths near
  // the middle, and those far outside both, count as broken.
  const double unit = sampleRate * tape::kShortHalfWave;
  const double split = 1.5 * unit;
  const double doubtful = 0.2 * unit;
  const double shortest = 0.5 * unit;
  const double longest = 2.5 * unit;

  std::vector<uint8_t> bits;
  bool high = false;
  double previous = 0.0;
  double lastEvent = 0.0;  // in samples, between samples where the crossing fell
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double current = samples[i];
    const double target = high ? -level : level;
    if (high ? current < target : current > target) {
      // `previous` lies on the other side of the level: the crossing falls between the two.
      const double event =
          static_cast<double>(i) - 1.0 + (target - previous) / (current - previous);
      const double distance = event - lastEvent;
      if (distance < shortest || distance > longest || std::fabs(distance - split) < doubtful) {
        bits.push_back(kTapeBitBroken);
      } else {
        bits.push_back(distance > split ? kTapeBit0 : kTapeBit1);
      }
      lastEvent = event;
      high = !high;
    }
    previous = current;
  }
  return bits;
}
