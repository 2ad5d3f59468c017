#pragma once

#include "engine/DigitalEnvelope.h"
#include "engine/Filter.h"
#include "engine/NoiseGenerator.h"
#include "engine/Vcf.h"

class CutoffTable;

// The hardware's single filter section ("God Mode" "Off"): one VCF and one DEG3 for the
// sum of all voices, with noise added before the filter.
class GlobalFilterPath {
 public:
  GlobalFilterPath();

  void SetSampleRate(CutoffTable& table, double rate);
  // Reacts to the filter, DEG3, noise, velocity and legacy parameters; others are ignored.
  void SetParameter(int index, double n);

  // A note started: key tracking (the highest key wins in legacy mode while keys
  // overlap), velocity gain and, unless legato without multiple trigger, DEG3.
  void NoteStarted(int key, int velocity, int keysHeld);
  void ReleaseEnvelope() { deg3_.EnvelopeRelease(); }
  bool MultipleTrigger() const { return multipleTrigger_; }

  // Whether the path still has something to say with no voice active.
  bool Busy() const { return !deg3_.IsIdle() || vcf_.IsRinging(); }
  // One sample: steps DEG3, adds noise and filters the voice sum.
  double Process(double sum, double vcfModulation, NoiseGenerator& noise);

  const DigitalEnvelope& Deg3() const { return deg3_; }
  const Vcf& Filter() const { return vcf_; }
  double KeyTrackOffset() const { return keyTrackOffset_; }
  double VelocityGain() const { return velocityGain_; }

 private:
  void SetIntensity(double magnitude, bool negative);

  Vcf vcf_;
  DigitalEnvelope deg3_;
  LowPass smoother_;  // 40 Hz, smooths DEG3 in legacy mode
  bool legacy_ = false;
  double keyTrackAmount_ = 0.0;
  double keyTrackOffset_ = 0.0;
  double intensity_ = 0.0;  // signed
  bool polarityNegative_ = false;
  double noiseLevel_ = 0.0;
  double velocityAmount_ = 0.0;
  double velocityGain_ = 1.0;
  bool multipleTrigger_ = false;
};
