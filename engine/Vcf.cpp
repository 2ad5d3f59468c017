#include "engine/Vcf.h"

#include <algorithm>
#include <cmath>

#include "engine/CutoffTable.h"
#include "engine/PitchToFrequency.h"

namespace {

constexpr double kIndexSpan = kPitchTableSize;  // "VCF Cutoff" 1 reaches one past the top
constexpr double kLegacyRangeScale = 0.96;
constexpr double kLegacyResonanceCurve = 1.6;
constexpr double kMaxFeedback = 3.6;
constexpr double kRingingLevel = 1e-12;

// Soft clip of the fed-back signal: a rational tanh that reaches +-1 at +-3.
double Saturate(double z) {
  if (z < -3.0) return -1.0;
  if (z > 3.0) return 1.0;
  return z * (27.0 + z * z) / (27.0 + 9.0 * z * z);
}

}  // namespace

double Vcf::KeyTrackOffset(int note, double amount, bool legacy) {
  const double keys = legacy ? (amount - 0.5) * 48.0 + (note - 84) : note - 60;
  return keys * amount * kStepsPerSemitone;
}

void Vcf::SetSampleRate(CutoffTable& table, double sampleRate) {
  table.SetSampleRate(sampleRate);
  table_ = &table;
  stages_.fill(0.0);
  lastIndex_ = -1;  // new coefficients from the new table
  PlaceCutoff();
}

void Vcf::SetLegacy(bool legacy) {
  legacy_ = legacy;
  PlaceCutoff();
}

void Vcf::SetCutoff(double n, bool gliding) {
  cutoff_ = n;
  target_ = TargetIndex(n);
  if (!gliding) current_ = target_;
}

void Vcf::SetResonance(double n) {
  resonance_ = legacy_ ? std::pow(n, kLegacyResonanceCurve) : n;
  lastIndex_ = -1;
}

double Vcf::Process(double x, int offset) {
  if (current_ < target_) {
    ++current_;
  } else if (current_ > target_) {
    --current_;
  }
  // Clamped before the comparison, so an offset below the table never meets
  // the "no coefficients yet" mark of -1.
  const int index = std::clamp(current_ + offset, 0, kPitchIndexMax);
  if (index != lastIndex_) UpdateCoefficients(index);

  const double d = denormalOffset_;
  const double u = GuardSample(x, d);
  for (double& s : stages_) s = GuardSample(s, d);
  denormalOffset_ = -d;

  // Output the stages would settle on without saturation; it feeds back at once.
  const auto& [s1, s2, s3, s4] = stages_;
  const double y = (((s1 * g_ + s2) * g_ + s3) * g_ + s4 + u * g4_) * h_;
  const double feedback = 5.0 * Saturate(0.2 * y);

  double in = (u - feedback * k_) * g_;
  for (double& s : stages_) {
    const double sum = s + in;
    s = in - a_ * sum;
    in = g_ * sum;
  }
  return legacy_ ? y : y * gainCompensation_;
}

bool Vcf::IsRinging() const {
  return std::any_of(stages_.begin(), stages_.end(),
                     [](double s) { return std::fabs(s) >= kRingingLevel; });
}

int Vcf::TargetIndex(double n) const {
  return rangeBase_ + static_cast<int>(std::floor((kIndexSpan - rangeBase_) * n * rangeScale_));
}

void Vcf::PlaceCutoff() {
  rangeBase_ = legacy_ && table_ ? table_->Index62Hz() : 0;
  rangeScale_ = legacy_ ? kLegacyRangeScale : 1.0;
  target_ = current_ = TargetIndex(cutoff_);
}

void Vcf::UpdateCoefficients(int index) {
  lastIndex_ = index;
  const double c = (*table_)[index];
  const double norm = 1.0 / (c + 2.0);
  k_ = kMaxFeedback * resonance_;
  gainCompensation_ = 1.0 + resonance_;
  g_ = c * norm;
  a_ = (c - 2.0) * norm;
  g4_ = g_ * g_ * g_ * g_;
  h_ = 1.0 / (1.0 + k_ * g4_);
}
