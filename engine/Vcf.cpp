#include "engine/Vcf.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "engine/CutoffTable.h"
#include "engine/PitchToFrequency.h"

namespace {

constexpr double kIndexSpan = kPitchTableSize;  // "VCF Cutoff" 1 reaches one past the top
constexpr double kLegacyRangeScale = 0.96;
constexpr double kLegacyResonanceCurve = 1.6;
constexpr double kMaxFeedback = 3.6;
constexpr double kRingingLevel = 1e-12;

// a where the comparison that gave `mask` holds, else b: by bit masks for lane vectors.
inline double Select(bool mask, double a, double b) {
  return mask ? a : b;
}
template <typename Mask, typename Lanes>
Lanes Select(Mask mask, Lanes a, Lanes b) {
  return reinterpret_cast<Lanes>((mask & reinterpret_cast<Mask>(a)) |
                                 (~mask & reinterpret_cast<Mask>(b)));
}

// Soft clip of the fed-back signal: a rational tanh that reaches +-1 at +-3. The rational
// part is computed for every input and then replaced outside -3..3, so lanes need no
// branches.
template <typename Lanes>
Lanes Saturate(Lanes z) {
  const Lanes rational = z * (27.0 + z * z) / (27.0 + 9.0 * z * z);
  const Lanes zero{};
  return Select(z < -3.0, zero - 1.0, Select(z > 3.0, zero + 1.0, rational));
}

// GuardSample for lanes: x - x is 0 exactly when x is finite.
template <typename Lanes>
Lanes Guard(Lanes x, Lanes offset) {
  return Select(x - x == 0.0, x + offset, Lanes{});
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

// Lane l of lane vectors side by side (set and read by value: not every compiler lets a
// reference bind to one element of a vector).
template <typename Lanes>
void SetLane(Lanes* vectors, int l, double value) {
  if constexpr (std::is_same_v<Lanes, double>) {
    vectors[l] = value;
  } else {
    constexpr int kWidth = sizeof(Lanes) / sizeof(double);
    vectors[l / kWidth][l % kWidth] = value;
  }
}

template <typename Lanes>
double LaneValue(const Lanes* vectors, int l) {
  if constexpr (std::is_same_v<Lanes, double>) {
    return vectors[l];
  } else {
    constexpr int kWidth = sizeof(Lanes) / sizeof(double);
    return vectors[l / kWidth][l % kWidth];
  }
}

template <int kLanes>
void VcfLanes<kLanes>::Load(int l, const Vcf& filter) {
  for (int j = 0; j < 4; ++j) SetLane(s[j], l, filter.stages_[static_cast<size_t>(j)]);
  SetLane(d, l, filter.denormalOffset_);
  LoadCoefficients(l, filter);
}

template <int kLanes>
void VcfLanes<kLanes>::LoadCoefficients(int l, const Vcf& filter) {
  SetLane(g, l, filter.g_);
  SetLane(a, l, filter.a_);
  SetLane(g4, l, filter.g4_);
  SetLane(h, l, filter.h_);
  SetLane(k, l, filter.k_);
  SetLane(gain, l, filter.legacy_ ? 1.0 : filter.gainCompensation_);
}

template <int kLanes>
void VcfLanes<kLanes>::Store(int l, Vcf& filter) const {
  auto& self = const_cast<VcfLanes&>(*this);
  for (int j = 0; j < 4; ++j) filter.stages_[static_cast<size_t>(j)] = LaneValue(self.s[j], l);
  filter.denormalOffset_ = LaneValue(self.d, l);
}

// The vectors are independent of each other, so their chains overlap too.
template <int kLanes>
void VcfLanes<kLanes>::Process(const double* x, double* y) {
  for (int v = 0; v < kVectors; ++v) {
    Lanes input;
    std::memcpy(&input, x + v * LaneVector<kLanes>::kWidth, sizeof input);
    const Lanes u = Guard(input, d[v]);
    Lanes stage[4];
    for (int j = 0; j < 4; ++j) stage[j] = Guard(s[j][v], d[v]);
    d[v] = -d[v];
    // Output the stages would settle on without saturation; it feeds back at once.
    const Lanes out =
        (((stage[0] * g[v] + stage[1]) * g[v] + stage[2]) * g[v] + stage[3] + u * g4[v]) * h[v];
    const Lanes feedback = 5.0 * Saturate(0.2 * out);
    Lanes in = (u - feedback * k[v]) * g[v];
    for (int j = 0; j < 4; ++j) {
      const Lanes sum = stage[j] + in;
      s[j][v] = in - a[v] * sum;
      in = g[v] * sum;
    }
    const Lanes result = out * gain[v];
    std::memcpy(y + v * LaneVector<kLanes>::kWidth, &result, sizeof result);
  }
}

template struct VcfLanes<1>;
template struct VcfLanes<kFilterLanes>;
