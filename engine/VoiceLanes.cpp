#include "engine/VoiceLanes.h"

#include <algorithm>
#include <cstring>

#include "engine/BiquadLanes.h"
#include "engine/EnvelopeLanes.h"
#include "engine/Lanes.h"
#include "engine/NoiseGenerator.h"
#include "engine/Vcf.h"
#include "engine/Voice.h"

// Up to kLanes voices of one kind for one run, laid out side by side. Lanes beyond the
// voices stay silent. A run is rendered in three passes: each oscillator for the whole
// run, voice after voice; then sample by sample the envelopes, noise and cutoff offsets,
// many short independent computations on lane vectors; last the filters, one long
// feedback chain per lane.
struct VoiceGroup {
  static constexpr int kLanes = kFilterLanes;
  static constexpr int kMaxRun = 64;
  static_assert(kLanes == EnvelopeLanes::kLanes && kLanes == BiquadLanes::kLanes);

  VoiceGroup(Voice* const* voices, int lanes, const NoiseStride* strides);
  // Gives the run's state back to the voices.
  void Store();
  // `frames` (up to kMaxRun) samples of every voice added to `sum`.
  template <typename Vector>
  void Render(double* sum, int frames);

 private:
  void ReadOscillators(int frames);
  template <typename Vector>
  void Mix(int s, double* mix);
  template <typename Vector>
  void Sweep(double* noiseGain, int* offset);
  void AddNoise(double* input, const double* noiseGain, int* offset);
  unsigned ChangingOffsets(const int (*offset)[kLanes], int frames) const;
  void Filter(double (*input)[kLanes], const int (*offset)[kLanes], unsigned changing, double* sum,
              int frames);

  Voice* voices_[kLanes] = {};
  int lanes_;
  bool ownFilter_;
  bool sweepInLanes_ = false;  // DEG3 and its smoother on lanes (the voices agree on legacy mode)
  bool legacySweep_ = false;   // DEG3 through the smoother, noise shaped by it alone
  bool drawsNoise_ = false;    // by any voice
  EnvelopeLanes deg1_;
  EnvelopeLanes deg2_;
  EnvelopeLanes deg3_;
  BiquadLanes smoothers_;
  DcoReader* dco1_[kLanes] = {};  // null where the oscillator is not heard
  DcoReader* dco2_[kLanes] = {};
  NoiseStride noise_[kLanes];
  double dco1Level_[kLanes] = {};  // 0 where the oscillator is not heard
  double dco2Level_[kLanes] = {};
  double velocityGain_[kLanes] = {};
  double noiseWeight_[kLanes] = {};  // 0 where no noise is drawn
  double sweepDepth_[kLanes] = {};
  double baseOffset_[kLanes] = {};
  VcfLanes<kLanes> filters_{};
  // The oscillators' samples of the run, one row per sample, read voice by voice.
  alignas(32) double dco1Out_[kMaxRun][kLanes];
  alignas(32) double dco2Out_[kMaxRun][kLanes];
};

VoiceGroup::VoiceGroup(Voice* const* voices, int lanes, const NoiseStride* strides)
    : lanes_(lanes), ownFilter_(voices[0]->OwnFilter()) {
  for (int l = 0; l < lanes; ++l) {
    Voice& voice = *voices[l];
    voices_[l] = &voice;
    deg1_.Load(l, &voice.deg1_);
    deg2_.Load(l, &voice.deg2_);
    // An oscillator that is not heard does not run either.
    if (voice.dco1Level_ > 0.0) {
      dco1_[l] = &voice.dco1_.Reader();
      dco1Level_[l] = voice.dco1Level_;
    }
    if (voice.doubleMode_ && voice.dco2Level_ > 0.0) {
      dco2_[l] = &voice.dco2_.Reader();
      dco2Level_[l] = voice.dco2Level_;
    }
    velocityGain_[l] = voice.velocityGain_;
    if (!ownFilter_) continue;
    FilterSection& section = voice.filter_;
    filters_.Load(l, section.vcf_);
    if (voice.DrawsNoise()) {
      drawsNoise_ = true;
      noise_[l] = strides[l];
      noiseWeight_[l] = section.noiseWeight_;
    }
    deg3_.Load(l, &section.deg3_);
    smoothers_.Load(l, section.smoother_);
    sweepDepth_[l] = section.sweepDepth_;
    baseOffset_[l] = voice.keyTrackOffset_ + voice.vcfModulation_;
  }
  // "Legacy Mode" switches all voices at once; should they differ, each takes its own way.
  if (!ownFilter_) return;
  legacySweep_ = voices[0]->filter_.legacy_;
  sweepInLanes_ = true;
  for (int l = 1; l < lanes; ++l) sweepInLanes_ &= voices[l]->filter_.legacy_ == legacySweep_;
}

void VoiceGroup::Store() {
  deg1_.Store(lanes_);
  deg2_.Store(lanes_);
  if (sweepInLanes_) deg3_.Store(lanes_);
  for (int l = 0; l < lanes_; ++l) {
    Voice& voice = *voices_[l];
    if (sweepInLanes_ && legacySweep_) smoothers_.Store(l, voice.filter_.smoother_);
    if (ownFilter_) filters_.Store(l, voice.filter_.vcf_);
  }
}

// Each oscillator for the whole run, one voice after another, so a reader stays in
// registers; oscillators not heard read silence.
void VoiceGroup::ReadOscillators(int frames) {
  const auto read = [frames](DcoReader* reader, double* out) {
    if (reader != nullptr) return reader->ReadRun(out, kLanes, frames);
    for (int s = 0; s < frames; ++s) out[s * kLanes] = 0.0;
  };
  for (int l = 0; l < kLanes; ++l) {
    read(dco1_[l], &dco1Out_[0][l]);
    read(dco2_[l], &dco2Out_[0][l]);
  }
}

// One sample of the oscillators shaped by their envelopes (Voice::RenderSources), on lane
// vectors: each weighted by its envelope squared times its level, and without an own
// filter the velocity gain too. Silent lanes mix silence.
template <typename Vector>
TARSYN7_LANE_KERNEL void VoiceGroup::Mix(int s, double* mix) {
  deg1_.Step<Vector>(lanes_);
  deg2_.Step<Vector>(lanes_);
  for (int v = 0; v < kLanes; v += kLaneWidth<Vector>) {
    const Vector e1 = LoadLanes<Vector>(deg1_.level + v);
    const Vector e2 = LoadLanes<Vector>(deg2_.level + v);
    Vector w1 = e1 * e1 * LoadLanes<Vector>(dco1Level_ + v);
    Vector w2 = e2 * e2 * LoadLanes<Vector>(dco2Level_ + v);
    if (!ownFilter_) {
      const Vector gain = LoadLanes<Vector>(velocityGain_ + v);
      w1 *= gain;
      w2 *= gain;
    }
    StoreLanes(mix + v,
               LoadLanes<Vector>(dco1Out_[s] + v) * w1 + LoadLanes<Vector>(dco2Out_[s] + v) * w2);
  }
}

// One sample of DEG3 (through its smoother in legacy mode) on lane vectors: the noise's
// weight in the mix and the cutoff offset (FilterSection::PrepareInput).
template <typename Vector>
TARSYN7_LANE_KERNEL void VoiceGroup::Sweep(double* noiseGain, int* offset) {
  deg3_.Step<Vector>(lanes_);
  alignas(32) double smoothed[kLanes];
  const double* sweep = deg3_.level;
  if (legacySweep_) {
    smoothers_.Process<Vector>(deg3_.level, smoothed);
    sweep = smoothed;
  }
  for (int v = 0; v < kLanes; v += kLaneWidth<Vector>) {
    const Vector e3 = LoadLanes<Vector>(sweep + v);
    const Vector shape = legacySweep_ ? e3 : e3 * e3;
    StoreLanes(noiseGain + v,
               shape * LoadLanes<Vector>(velocityGain_ + v) * LoadLanes<Vector>(noiseWeight_ + v));
    StoreTruncated(offset + v,
                   LoadLanes<Vector>(baseOffset_ + v) + LoadLanes<Vector>(sweepDepth_ + v) * e3);
  }
}

// One sample of noise added to each voice's mix, the filter's input; voices that disagree
// on legacy mode take their own way, DEG3 and cutoff offset too (Voice::PrepareOwnFilter).
void VoiceGroup::AddNoise(double* input, const double* noiseGain, int* offset) {
  for (int l = 0; l < lanes_; ++l) {
    const double noise = noiseWeight_[l] > 0.0 ? noise_[l].Next() : 0.0;
    if (!sweepInLanes_) {
      input[l] = voices_[l]->PrepareOwnFilter(input[l], noise, offset[l]);
    } else if (noiseWeight_[l] > 0.0) {
      input[l] += noiseGain[l] * noise;
    }
  }
  // Lanes without a voice: a steady offset, so that every lane's offset is known.
  if (!sweepInLanes_) std::fill(offset + lanes_, offset + kLanes, 0);
}

// The lanes whose cutoff offset changes during the run, as bits; four lanes compared at a
// time.
TARSYN7_LANE_KERNEL unsigned VoiceGroup::ChangingOffsets(const int (*offset)[kLanes],
                                                         int frames) const {
  typedef int Ints __attribute__((vector_size(4 * sizeof(int))));
  constexpr int kWidth = 4;
  unsigned changing = 0;
  for (int v = 0; v < kLanes; v += kWidth) {
    Ints first;
    Ints differs{};
    std::memcpy(&first, offset[0] + v, sizeof first);
    for (int s = 1; s < frames; ++s) {
      Ints row;
      std::memcpy(&row, offset[s] + v, sizeof row);
      differs |= row != first;
    }
    for (int i = 0; i < kWidth; ++i) changing |= differs[i] != 0 ? 1u << (v + i) : 0u;
  }
  return changing;
}

// The filters for the run, a sample of all lanes at a time. The cutoffs glide (Vcf::Glide)
// sample by sample, except where the index cannot change during the run (the cutoff at its
// target, the same offset throughout): those lanes glide once, at its start.
void VoiceGroup::Filter(double (*input)[kLanes], const int (*offset)[kLanes], unsigned changing,
                        double* sum, int frames) {
  int moving[kLanes];
  int movingCount = 0;
  for (int l = 0; l < lanes_; ++l) {
    Vcf& filter = voices_[l]->filter_.vcf_;
    if (filter.Gliding() || (changing >> l & 1u) != 0) {
      moving[movingCount++] = l;
    } else if (filter.Glide(offset[0][l])) {
      filters_.LoadCoefficients(l, filter);
    }
  }
  for (int s = 0; s < frames; ++s) {
    for (int m = 0; m < movingCount; ++m) {
      Vcf& filter = voices_[moving[m]]->filter_.vcf_;
      if (filter.Glide(offset[s][moving[m]])) filters_.LoadCoefficients(moving[m], filter);
    }
    filters_.Process(input[s], input[s]);
    double total = sum[s];  // in a register, not through memory
    for (int l = 0; l < lanes_; ++l) total += input[s][l] * velocityGain_[l];
    sum[s] = total;
  }
}

template <typename Vector>
TARSYN7_LANE_KERNEL void VoiceGroup::Render(double* sum, int frames) {
  ReadOscillators(frames);
  alignas(32) double mix[kMaxRun][kLanes];
  if (!ownFilter_) {
    for (int s = 0; s < frames; ++s) {
      Mix<Vector>(s, mix[s]);
      double total = sum[s];  // in a register, not through memory
      for (int l = 0; l < lanes_; ++l) total += mix[s][l];
      sum[s] = total;
    }
    return;
  }
  int offset[kMaxRun][kLanes];
  for (int s = 0; s < frames; ++s) {
    alignas(32) double noiseGain[kLanes] = {};
    if (sweepInLanes_) Sweep<Vector>(noiseGain, offset[s]);
    Mix<Vector>(s, mix[s]);
    if (drawsNoise_ || !sweepInLanes_) AddNoise(mix[s], noiseGain, offset[s]);
  }
  Filter(mix, offset, ChangingOffsets(offset, frames), sum, frames);
}

namespace {

TARSYN7_WIDE_LANES void RenderWide(VoiceGroup& group, double* sum, int frames) {
  group.Render<DoubleQuad>(sum, frames);
}

void RenderNarrow(VoiceGroup& group, double* sum, int frames) {
  group.Render<DoublePair>(sum, frames);
}

}  // namespace

void RenderVoices(Voice* const* voices, int count, NoiseGenerator& noise, double* sum, int frames) {
  int drawing = 0;
  for (int v = 0; v < count; ++v) drawing += voices[v]->DrawsNoise() ? 1 : 0;
  int rank = 0;
  for (int first = 0; first < count; first += VoiceGroup::kLanes) {
    const int lanes = count - first < VoiceGroup::kLanes ? count - first : VoiceGroup::kLanes;
    NoiseStride strides[VoiceGroup::kLanes];
    for (int l = 0; l < lanes; ++l) {
      if (voices[first + l]->DrawsNoise()) strides[l] = noise.Stride(rank++, drawing);
    }
    VoiceGroup group(voices + first, lanes, strides);
    for (int done = 0; done < frames; done += VoiceGroup::kMaxRun) {
      const int run = frames - done < VoiceGroup::kMaxRun ? frames - done : VoiceGroup::kMaxRun;
      if (WideLanes()) {
        RenderWide(group, sum + done, run);
      } else {
        RenderNarrow(group, sum + done, run);
      }
    }
    group.Store();
  }
  noise.Skip(drawing * frames);
}
