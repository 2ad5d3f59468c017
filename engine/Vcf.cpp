#include "engine/Vcf.h"

#include <algorithm>
#include <cmath>

#include "engine/CutoffTable.h"
#include "engine/Lanes.h"
#include "engine/PitchToFrequency.h"

namespace {

constexpr double kIndexSpan = kPitchTableSize;  // "VCF Cutoff" 1 reaches one past the top
constexpr double kLegacyRangeScale = 0.96;
constexpr double kLegacyResonanceCurve = 1.6;
constexpr double kMaxFeedback = 3.6;
constexpr double kRingingLevel = 1e-12;

// Soft clip of the fed-back signal: a rational tanh that reaches +-1 at +-3. The rational
// part is computed for every input and then replaced outside -3..3, so lanes need no
// branches.
template <typename Lanes>
TARSYN7_LANE_KERNEL Lanes Saturate(Lanes z) {
  const Lanes rational = z * (27.0 + z * z) / (27.0 + 9.0 * z * z);
  const Lanes zero{};
  return Select(z < -3.0, zero - 1.0, Select(z > 3.0, zero + 1.0, rational));
}

// One sample of every lane, Vector-wide lanes at a time. The vectors are independent of
// each other, so their chains overlap too.
template <typename Vector, int kLanes>
TARSYN7_LANE_KERNEL void ProcessLanes(VcfLanes<kLanes>& f, const double* x, double* y) {
  for (int v = 0; v < kLanes; v += kLaneWidth<Vector>) {
    const Vector g = LoadLanes<Vector>(f.g + v);
    const Vector a = LoadLanes<Vector>(f.a + v);
    const Vector d = LoadLanes<Vector>(f.d + v);
    const Vector u = Guard(LoadLanes<Vector>(x + v), d);
    Vector stage[4];
    for (int j = 0; j < 4; ++j) stage[j] = Guard(LoadLanes<Vector>(f.s[j] + v), d);
    StoreLanes(f.d + v, -d);
    // Output the stages would settle on without saturation; it feeds back at once.
    const Vector out = (((stage[0] * g + stage[1]) * g + stage[2]) * g + stage[3] +
                        u * LoadLanes<Vector>(f.g4 + v)) *
                       LoadLanes<Vector>(f.h + v);
    const Vector feedback = 5.0 * Saturate(0.2 * out);
    Vector in = (u - feedback * LoadLanes<Vector>(f.k + v)) * g;
    for (int j = 0; j < 4; ++j) {
      const Vector sum = stage[j] + in;
      StoreLanes(f.s[j] + v, in - a * sum);
      in = g * sum;
    }
    StoreLanes(y + v, out * LoadLanes<Vector>(f.gain + v));
  }
}

template <int kLanes>
TARSYN7_WIDE_LANES void ProcessWide(VcfLanes<kLanes>& f, const double* x, double* y) {
  ProcessLanes<DoubleQuad>(f, x, y);
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
  k_ = kMaxFeedback * resonance_;
  gainCompensation_ = 1.0 + resonance_;
  lastIndex_ = -1;  // h follows k
}

double Vcf::Process(double x, int offset) {
  Glide(offset);
  VcfLanes<1> lane;
  lane.Load(0, *this);
  double y = 0.0;
  lane.Process(&x, &y);
  lane.Store(0, *this);
  return y;
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

// g, a and g^4 come from the table of this rate; only h depends on the resonance too.
void Vcf::UpdateCoefficients(int index) {
  lastIndex_ = index;
  const CutoffTable::Coefficients& c = table_->CoefficientsAt(index);
  g_ = c.g;
  a_ = c.a;
  g4_ = c.g4;
  h_ = 1.0 / (1.0 + k_ * g4_);
}

template <int kLanes>
void VcfLanes<kLanes>::Load(int l, const Vcf& filter) {
  for (int j = 0; j < 4; ++j) s[j][l] = filter.stages_[static_cast<size_t>(j)];
  d[l] = filter.denormalOffset_;
  LoadCoefficients(l, filter);
}

template <int kLanes>
void VcfLanes<kLanes>::LoadCoefficients(int l, const Vcf& filter) {
  g[l] = filter.g_;
  a[l] = filter.a_;
  g4[l] = filter.g4_;
  h[l] = filter.h_;
  k[l] = filter.k_;
  gain[l] = filter.legacy_ ? 1.0 : filter.gainCompensation_;
}

template <int kLanes>
void VcfLanes<kLanes>::Store(int l, Vcf& filter) const {
  for (int j = 0; j < 4; ++j) filter.stages_[static_cast<size_t>(j)] = s[j][l];
  filter.denormalOffset_ = d[l];
}

template <int kLanes>
void VcfLanes<kLanes>::Process(const double* x, double* y) {
  if constexpr (kLanes == 1) {
    ProcessLanes<double>(*this, x, y);
  } else if (WideLanes()) {
    ProcessWide(*this, x, y);
  } else {
    ProcessLanes<DoublePair>(*this, x, y);
  }
}

template struct VcfLanes<1>;
template struct VcfLanes<kFilterLanes>;
