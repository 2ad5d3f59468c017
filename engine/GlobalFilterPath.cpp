#include "engine/GlobalFilterPath.h"

#include <cmath>

#include "control/ParameterIndex.h"
#include "engine/CutoffTable.h"
#include "engine/Voice.h"

namespace {

constexpr double kSmootherCorner = 40.0;
constexpr double kConstructionRate = 44100.0;

}  // namespace

GlobalFilterPath::GlobalFilterPath() {
  deg3_.SetSampleRate(kConstructionRate);
  smoother_.Setup(kConstructionRate, kSmootherCorner);
}

void GlobalFilterPath::SetSampleRate(CutoffTable& table, double rate) {
  vcf_.SetSampleRate(table, rate);
  deg3_.SetSampleRate(rate);
  keyTrackOffset_ = 0.0;
  smoother_.Setup(rate, kSmootherCorner);
}

void GlobalFilterPath::SetIntensity(double magnitude, bool negative) {
  polarityNegative_ = negative;
  intensity_ = negative ? -magnitude : magnitude;
}

void GlobalFilterPath::SetParameter(int index, double n) {
  switch (index) {
    case kNoiseLevel:
      noiseLevel_ = n;
      break;
    case kVcfCutoff:
      vcf_.SetCutoff(n, false);
      break;
    case kVcfResonance:
      vcf_.SetResonance(n);
      break;
    case kVcfKbdTrack:
      keyTrackAmount_ = n;
      break;
    case kVcfEgPolarity:
      SetIntensity(std::fabs(intensity_), n < 0.5);
      break;
    case kVcfEgIntensity:
      SetIntensity(n, polarityNegative_);
      break;
    case kVcfTrigger:
      multipleTrigger_ = n >= 0.5;
      break;
    case kDeg3Attack:
      deg3_.SetAttack(n);
      break;
    case kDeg3Decay:
      deg3_.SetDecay(n);
      break;
    case kDeg3BreakPoint:
      deg3_.SetBreakPoint(n);
      break;
    case kDeg3Slope:
      deg3_.SetSlope(n);
      break;
    case kDeg3Sustain:
      deg3_.SetSustain(n);
      break;
    case kDeg3Release:
      deg3_.SetRelease(n);
      break;
    case kVelocity:
      velocityAmount_ = n;
      break;
    case kLegacyMode:
      legacy_ = n >= 0.5;
      vcf_.SetLegacy(legacy_);
      deg3_.SetLinearMode(legacy_);
      break;
    default:
      break;
  }
}

void GlobalFilterPath::NoteStarted(int key, int velocity, int keysHeld) {
  const double tracking = Vcf::KeyTrackOffset(key, keyTrackAmount_, legacy_);
  if (!legacy_ || keysHeld <= 1 || tracking > keyTrackOffset_) keyTrackOffset_ = tracking;
  velocityGain_ = Voice::GainForVelocity(velocity, velocityAmount_);
  if (multipleTrigger_ || keysHeld <= 1) {
    if (legacy_) deg3_.SetLevel(0.0);
    deg3_.EnvelopeStart();
  }
}

double GlobalFilterPath::Process(double sum, double vcfModulation, NoiseGenerator& noise) {
  deg3_.EnvelopeStep();
  double sweep;
  if (legacy_) {
    const double e = smoother_.Process(deg3_.Level());
    sweep = intensity_ * Vcf::kLegacyEnvelopeDepth * e;
    if (noiseLevel_ > 0.0) sum += e * velocityGain_ * noiseLevel_ * noiseLevel_ * noise.Next();
  } else {
    const double e = deg3_.Level();
    sweep = intensity_ * Vcf::kEnvelopeDepth * e;
    if (noiseLevel_ > 0.0) sum += e * e * velocityGain_ * noiseLevel_ * noise.Next();
  }
  const double offset = vcfModulation + keyTrackOffset_ + sweep;
  return vcf_.Process(sum, static_cast<int>(offset));
}
