#pragma once

#include "engine/DigitalEnvelope.h"
#include "engine/Filter.h"
#include "engine/Vcf.h"

class CutoffTable;
class NoiseGenerator;

// A VCF swept by its own DEG3, with noise shaped by DEG3 mixed in ahead of it: a voice's
// own filter with "God Mode" on, the one shared filter with it off.
class FilterSection {
  friend struct VoiceGroup;  // renders voices side by side (engine/VoiceLanes.cpp)

 public:
  FilterSection();  // DEG3 and smoother at 44100 Hz

  // The filter only once a table is given; DEG3 and the smoother always.
  void SetSampleRate(CutoffTable* table, double rate);
  // "Noise Level", "VCF Cutoff" to "VCF EG Intensity" and the DEG3 settings; other
  // indices are ignored. A sounding voice's filter glides to a new cutoff.
  void SetParameter(int index, double n, bool gliding);
  // Cutoff range, DEG3 shape, sweep depth, sweep smoothing and noise curve together.
  void SetLegacy(bool legacy);

  // DEG3 from its current level; the legacy sweep always starts from closed.
  void StartEnvelope();
  void ReleaseEnvelope() { deg3_.EnvelopeRelease(); }
  // Silent at once: DEG3 idle, filter and smoother empty. For a section going out of
  // use, so nothing it held sounds when it is used again.
  void Clear();

  // One sample in two steps: DEG3 stepped, noise added to the mix, the cutoff offset on
  // top of `baseOffset` (key tracking and modulation); then the filter itself. The noise
  // sample is drawn by the caller, only when DrawsNoise().
  double PrepareInput(double mix, double velocityGain, double baseOffset, double noise,
                      int& offset);
  double Process(double mix, double velocityGain, double baseOffset, NoiseGenerator& noise);
  bool DrawsNoise() const { return noiseWeight_ > 0.0; }

  // Whether DEG3 runs or the filter still rings.
  bool Busy() const { return !deg3_.IsIdle() || vcf_.IsRinging(); }
  double KeyTrackAmount() const { return keyTrackAmount_; }
  bool Legacy() const { return legacy_; }
  Vcf& Filter() { return vcf_; }
  const Vcf& Filter() const { return vcf_; }
  const DigitalEnvelope& Deg3() const { return deg3_; }

 private:
  void UpdateSweepAndNoise();

  Vcf vcf_;
  DigitalEnvelope deg3_;
  LowPass smoother_;  // legacy: the sweep follows DEG3 through 40 Hz
  bool legacy_ = false;
  double noiseLevel_ = 0.0;
  double noiseWeight_ = 0.0;  // noise level, squared in legacy mode
  double intensity_ = 0.0;    // signed by the polarity
  bool polarityNegative_ = false;
  double sweepDepth_ = 0.0;  // cutoff offset of a full DEG3
  double keyTrackAmount_ = 0.0;
};

// Per sample, here so that it is inlined where voices are rendered.
inline double FilterSection::PrepareInput(double mix, double velocityGain, double baseOffset,
                                          double noise, int& offset) {
  deg3_.EnvelopeStep();
  const double e = legacy_ ? smoother_.Process(deg3_.Level()) : deg3_.Level();
  if (DrawsNoise()) {
    const double shape = legacy_ ? e : e * e;
    mix += shape * velocityGain * noiseWeight_ * noise;
  }
  offset = static_cast<int>(baseOffset + sweepDepth_ * e);
  return mix;
}
