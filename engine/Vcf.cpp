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
// Soft clip of the fed-back signal. The rational part is computed for every input and
// then replaced outside -3..3, which keeps the lanes free of branches.
double Saturate(double z) {
  const double rational = z * (27.0 + z * z) / (27.0 + 9.0 * z * z);
  return z < -3.0 ? -1.0 : (z > 3.0 ? 1.0 : rational);
}

}  // namespace

double Vcf::KeyTrackOffset(int note, double amount, bool legacy) {
  const double keys = legacy ? (amount - 0.5) * 48.0 + (note - 84) : note - 60;
  return keys * amount * kStepsPerSemitone;
}

void Vcf::SetSampleRate(CutoffTable& table, double sampleRate) {
  table.SetSampleRate(sampleRate);
  table_ = &table;
  Clear();
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
  Vcf* self = this;
  double y = 0.0;
  ProcessLanes<1>(&self, &x, &offset, &y);
  return y;
}

// The steps run lane by lane, so the lanes' long feedback chains (two divisions and
// eight dependent stages per sample) overlap in the processor instead of queueing.
template <int kLanes>
void Vcf::ProcessLanes(Vcf* const* filters, const double* x, const int* offsets, double* y) {
  double u[kLanes];
  double out[kLanes];
  double s[4][kLanes];
  for (int l = 0; l < kLanes; ++l) {
    Vcf& f = *filters[l];
    f.Glide(offsets[l]);
    const double d = f.denormalOffset_;
    u[l] = GuardSample(x[l], d);
    for (int j = 0; j < 4; ++j) s[j][l] = GuardSample(f.stages_[static_cast<size_t>(j)], d);
    f.denormalOffset_ = -d;
  }
  // Output the stages would settle on without saturation; it feeds back at once.
  for (int l = 0; l < kLanes; ++l) {
    const Vcf& f = *filters[l];
    out[l] = (((s[0][l] * f.g_ + s[1][l]) * f.g_ + s[2][l]) * f.g_ + s[3][l] + u[l] * f.g4_) * f.h_;
  }
  for (int l = 0; l < kLanes; ++l) {
    const Vcf& f = *filters[l];
    const double feedback = 5.0 * Saturate(0.2 * out[l]);
    double in = (u[l] - feedback * f.k_) * f.g_;
    for (int j = 0; j < 4; ++j) {
      const double sum = s[j][l] + in;
      s[j][l] = in - f.a_ * sum;
      in = f.g_ * sum;
    }
  }
  for (int l = 0; l < kLanes; ++l) {
    Vcf& f = *filters[l];
    for (int j = 0; j < 4; ++j) f.stages_[static_cast<size_t>(j)] = s[j][l];
    y[l] = f.legacy_ ? out[l] : out[l] * f.gainCompensation_;
  }
}

template void Vcf::ProcessLanes<1>(Vcf* const*, const double*, const int*, double*);
template void Vcf::ProcessLanes<Vcf::kLaneCount>(Vcf* const*, const double*, const int*, double*);

// One step of the cutoff towards its target, then coefficients for the index the
// offset lands on.
void Vcf::Glide(int offset) {
  if (current_ < target_) {
    ++current_;
  } else if (current_ > target_) {
    --current_;
  }
  // Clamped before the comparison, so an offset below the table never meets
  // the "no coefficients yet" mark of -1.
  const int index = std::clamp(current_ + offset, 0, kPitchIndexMax);
  if (index != lastIndex_) UpdateCoefficients(index);
}

void Vcf::Clear() {
  stages_.fill(0.0);
  denormalOffset_ = kDenormalOffset;
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
