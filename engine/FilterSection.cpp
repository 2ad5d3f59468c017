#include "engine/FilterSection.h"

#include <cmath>

#include "control/ParameterIndex.h"
#include "engine/CutoffTable.h"
#include "engine/NoiseGenerator.h"

namespace {

constexpr double kSmootherCorner = 40.0;  // Hz
constexpr double kConstructionRate = 44100.0;

}  // namespace

FilterSection::FilterSection() {
  deg3_.SetSampleRate(kConstructionRate);
  smoother_.Setup(kConstructionRate, kSmootherCorner);
}

void FilterSection::SetSampleRate(CutoffTable* table, double rate) {
  if (table) vcf_.SetSampleRate(*table, rate);
  deg3_.SetSampleRate(rate);
  smoother_.Setup(rate, kSmootherCorner);
}

void FilterSection::SetParameter(int index, double n, bool gliding) {
  switch (index) {
    case kNoiseLevel:
      noiseLevel_ = n;
      UpdateSweepAndNoise();
      break;
    case kVcfCutoff:
      vcf_.SetCutoff(n, gliding);
      break;
    case kVcfResonance:
      vcf_.SetResonance(n);
      break;
    case kVcfKbdTrack:
      keyTrackAmount_ = n;
      break;
    case kVcfEgPolarity:
      polarityNegative_ = n < 0.5;
      intensity_ = polarityNegative_ ? -std::fabs(intensity_) : std::fabs(intensity_);
      UpdateSweepAndNoise();
      break;
    case kVcfEgIntensity:
      intensity_ = polarityNegative_ ? -n : n;
      UpdateSweepAndNoise();
      break;
    default:
      if (index >= kDeg3Attack && index <= kDeg3Release) deg3_.SetParameter(index - kDeg3Attack, n);
      break;
  }
}

void FilterSection::SetLegacy(bool legacy) {
  legacy_ = legacy;
  vcf_.SetLegacy(legacy);
  deg3_.SetLinearMode(legacy);
  UpdateSweepAndNoise();
}

void FilterSection::UpdateSweepAndNoise() {
  sweepDepth_ = intensity_ * (legacy_ ? Vcf::kLegacyEnvelopeDepth : Vcf::kEnvelopeDepth);
  noiseWeight_ = legacy_ ? noiseLevel_ * noiseLevel_ : noiseLevel_;
}

void FilterSection::StartEnvelope() {
  if (legacy_) deg3_.SetLevel(0.0);
  deg3_.EnvelopeStart();
}

void FilterSection::Clear() {
  deg3_.Silence();
  vcf_.Clear();
  smoother_.Clear();
}

double FilterSection::Process(double mix, double velocityGain, double baseOffset,
                              NoiseGenerator& noise) {
  int offset = 0;
  const double input =
      PrepareInput(mix, velocityGain, baseOffset, DrawsNoise() ? noise.Next() : 0.0, offset);
  return vcf_.Process(input, offset);
}
