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
  // 27 + 9 z^2 = 9 (3 + z^2): one multiplication less before the division.
  const Lanes square = z * z;
  const Lanes rational = z * (1.0 / 9.0) * (27.0 + square) / (3.0 + square);
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
    // The feedback loop is the filter's long chain: constant factors are applied to the
    // terms that do not wait for it (the output scaled by 1/5 for the soft clip, the clip's
    // 5 times k and g, the input times g).
    const Vector h = LoadLanes<Vector>(f.h + v);
    const Vector scaled = (((stage[0] * g + stage[1]) * g + stage[2]) * g + stage[3] +
                           u * LoadLanes<Vector>(f.g4 + v)) *
                          (0.2 * h);
    Vector in = u * g - Saturate(scaled) * (5.0 * LoadLanes<Vector>(f.k + v) * g);
    for (int j = 0; j < 4; ++j) {
      const Vector sum = stage[j] + in;
      StoreLanes(f.s[j] + v, in - a * sum);
      in = g * sum;
    }
    StoreLanes(y + v, scaled * (5.0 * LoadLanes<Vector>(f.gain + v)));
  }
}

template <int kLanes>
TARSYN7_WIDE_LANES void ProcessWide(VcfLanes<kLanes>& f, const double* x, double* y) {
  ProcessLanes<DoubleQuad>(f, x, y);
}

}  // namespace

Vcf::Vcf() {
  lane_.gain[0] = gainCompensation_;
  Clear();
}

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
  lane_.gain[0] = legacy_ ? 1.0 : gainCompensation_;
  PlaceCutoff();
}

void Vcf::SetCutoff(double n, bool gliding) {
  cutoff_ = n;
  target_ = TargetIndex(n);
  if (!gliding) current_ = target_;
}

void Vcf::SetResonance(double n) {
  resonance_ = legacy_ ? std::pow(n, kLegacyResonanceCurve) : n;
  lane_.k[0] = kMaxFeedback * resonance_;
  gainCompensation_ = 1.0 + resonance_;
  lane_.gain[0] = legacy_ ? 1.0 : gainCompensation_;
  lastIndex_ = -1;  // h follows k
}

double Vcf::Process(double x, int offset) {
  Glide(offset);
  double y = 0.0;
  lane_.Process(&x, &y);
  return y;
}

void Vcf::Clear() {
  for (double* stage : lane_.s) stage[0] = 0.0;
  lane_.d[0] = kDenormalOffset;
}

bool Vcf::IsRinging() const {
  return std::any_of(std::begin(lane_.s), std::end(lane_.s),
                     [](const double* stage) { return std::fabs(stage[0]) >= kRingingLevel; });
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
  lane_.g[0] = c.g;
  lane_.a[0] = c.a;
  lane_.g4[0] = c.g4;
  lane_.h[0] = 1.0 / (1.0 + lane_.k[0] * c.g4);
}

template <int kLanes>
void VcfLanes<kLanes>::Load(int l, const Vcf& filter) {
  for (int j = 0; j < 4; ++j) s[j][l] = filter.lane_.s[j][0];
  d[l] = filter.lane_.d[0];
  LoadCoefficients(l, filter);
}

template <int kLanes>
void VcfLanes<kLanes>::LoadCoefficients(int l, const Vcf& filter) {
  const VcfLanes<1>& own = filter.lane_;
  g[l] = own.g[0];
  a[l] = own.a[0];
  g4[l] = own.g4[0];
  h[l] = own.h[0];
  k[l] = own.k[0];
  gain[l] = own.gain[0];
}

template <int kLanes>
void VcfLanes<kLanes>::Store(int l, Vcf& filter) const {
  for (int j = 0; j < 4; ++j) filter.lane_.s[j][0] = s[j][l];
  filter.lane_.d[0] = d[l];
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
