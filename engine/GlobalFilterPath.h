#pragma once

#include "engine/FilterSection.h"

class CutoffTable;
class NoiseGenerator;

// The hardware's single filter section ("God Mode" "Off"): one VCF and one DEG3 for the
// sum of all voices, with noise added before the filter, key tracking and velocity taken
// from the notes as they start.
class GlobalFilterPath {
 public:
  void SetSampleRate(CutoffTable& table, double rate);
  // Reacts to the filter, DEG3, noise, velocity, trigger and legacy parameters.
  void SetParameter(int index, double n);

  // A note started: key tracking (the highest key wins in legacy mode while keys
  // overlap), velocity gain and, unless legato without multiple trigger, DEG3.
  void NoteStarted(int key, int velocity, int keysHeld);
  void ReleaseEnvelope() { section_.ReleaseEnvelope(); }
  // Silent at once; for the switch to the voices' own filters.
  void Clear() { section_.Clear(); }
  bool MultipleTrigger() const { return multipleTrigger_; }

  // Whether the path still has something to say with no voice active.
  bool Busy() const { return section_.Busy(); }
  // One sample: steps DEG3, adds noise and filters the voice sum.
  double Process(double sum, double vcfModulation, NoiseGenerator& noise);

  const DigitalEnvelope& Deg3() const { return section_.Deg3(); }
  const Vcf& Filter() const { return section_.Filter(); }
  double KeyTrackOffset() const { return keyTrackOffset_; }
  double VelocityGain() const { return velocityGain_; }

 private:
  FilterSection section_;
  double keyTrackOffset_ = 0.0;
  double velocityAmount_ = 0.0;
  double velocityGain_ = 1.0;
  bool multipleTrigger_ = false;
};
