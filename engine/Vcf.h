#pragma once

#include <algorithm>

#include "engine/Filter.h"
#include "engine/PitchToFrequency.h"

class CutoffTable;
class Vcf;

// Voices with their own filter are filtered this many at a time.
constexpr int kFilterLanes = 8;

// The state and coefficients of several filters side by side, one filter per lane, so
// that one sample of all of them is computed together: the lanes' long feedback chains
// overlap in the processor, and the arithmetic runs on vector registers (engine/Lanes.h).
// Each lane computes exactly what Vcf::Process computes for its filter.
template <int kLanes>
struct VcfLanes {
  // Takes a filter's stages and coefficients into lane l.
  void Load(int l, const Vcf& filter);
  // Takes new coefficients (after Vcf::Glide reported a change).
  void LoadCoefficients(int l, const Vcf& filter);
  // Gives lane l's stages back to its filter.
  void Store(int l, Vcf& filter) const;
  // One sample of every lane: inputs x, outputs y, kLanes each.
  void Process(const double* x, double* y);

  // Aligned for whole lane vectors; one lane is a plain double.
  static constexpr int kAlign = kLanes >= 4 ? 32 : alignof(double);
  alignas(kAlign) double s[4][kLanes] = {};
  alignas(kAlign) double g[kLanes] = {};
  alignas(kAlign) double a[kLanes] = {};
  alignas(kAlign) double g4[kLanes] = {};
  alignas(kAlign) double h[kLanes] = {};
  alignas(kAlign) double k[kLanes] = {};
  alignas(kAlign) double gain[kLanes] = {};  // output gain: 1 in legacy mode, else the resonance's
                                             // compensation
  alignas(kAlign) double d[kLanes] = {};     // denormal offset
};

// Four-pole resonant low-pass of a voice or of the global filter path. The cutoff
// is a pitch index: the "VCF Cutoff" setting places a base index, and every
// sample adds an offset (key tracking, envelope, modulation) on top of it.
class Vcf {
 public:
  Vcf();
  // Cutoff offset of a full DEG3 at full intensity: 96 semitones, 109 in legacy mode.
  static constexpr double kEnvelopeDepth = 12289.0;
  static constexpr double kLegacyEnvelopeDepth = 13963.25;

  // Cutoff offset of a note in pitch-index units for a "VCF KBD Track" amount
  // (0, 0.5 or 1). Full tracking follows the keyboard around note 60; half
  // tracking does too, except in legacy mode, where it centres on note 84.
  static double KeyTrackOffset(int note, double amount, bool legacy);

  // Binds the filter to its plug-in's table (refilled if the rate differs),
  // clears the filter and puts the cutoff back where "VCF Cutoff" placed it.
  // Must come before the first `Process`.
  void SetSampleRate(CutoffTable& table, double sampleRate);

  // Selects the cutoff range (legacy: from 62 Hz, 96% of the span) and re-places
  // the cutoff at once. The resonance keeps its curve until it is set again.
  void SetLegacy(bool legacy);

  // n: normalised "VCF Cutoff". A gliding filter moves one index per sample
  // towards it; otherwise it jumps.
  void SetCutoff(double n, bool gliding);

  // n: normalised "VCF Resonance"; legacy mode bends it by the power 1.6.
  void SetResonance(double n);

  // One sample; offset in pitch-index units on top of the gliding cutoff, the
  // sum saturating at both ends of the table.
  double Process(double x, int offset);
  // The first half of Process: one glide step and the coefficients for the cutoff plus
  // `offset`. True when they changed.
  bool Glide(int offset);

  // Empties the stages: the next sample starts from silence.
  void Clear();

  // True while any stage still holds 1e-12 or more.
  bool IsRinging() const;

  // Whether the cutoff is still on its way to a new "VCF Cutoff".
  bool Gliding() const { return current_ != target_; }

  // Cutoff index before the per-sample offset.
  int CutoffIndex() const { return current_; }

 private:
  int TargetIndex(double n) const;
  void PlaceCutoff();
  void UpdateCoefficients(int index);

  template <int kLanes>
  friend struct VcfLanes;

  const CutoffTable* table_ = nullptr;
  bool legacy_ = false;
  double cutoff_ = 0.0;
  double resonance_ = 0.0;

  int rangeBase_ = 0;
  double rangeScale_ = 1.0;
  int target_ = 0;
  int current_ = 0;
  int lastIndex_ = -1;

  double gainCompensation_ = 1.0;  // of the resonance
  // The stages and the coefficients of the last index and of the resonance, laid out as
  // one lane, so that Process computes in place.
  VcfLanes<1> lane_;
};

// One step of the cutoff towards its target, then coefficients for the index the
// offset lands on.
inline bool Vcf::Glide(int offset) {
  if (current_ < target_) {
    ++current_;
  } else if (current_ > target_) {
    --current_;
  }
  // Clamped before the comparison, so an offset below the table never meets
  // the "no coefficients yet" mark of -1.
  const int index = std::clamp(current_ + offset, 0, kPitchIndexMax);
  if (index == lastIndex_) return false;
  UpdateCoefficients(index);
  return true;
}
