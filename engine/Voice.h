#pragma once

#include "engine/Dco.h"
#include "engine/DigitalEnvelope.h"
#include "engine/FilterSection.h"
#include "engine/KeyPitchSource.h"
#include "engine/PerformanceValues.h"

class CutoffTable;
class IncrementTable;
class NoiseGenerator;

// The unit of polyphony. The plug-in object owns 64 of them by value.
// DCO1 shaped by DEG1 and, in double mode, DCO2 shaped by DEG2 are mixed; with
// its own filter ("God Mode" on) the voice adds noise shaped by DEG3 and filters
// the mix with its own Vcf swept by DEG3, otherwise the global filter path does
// that for the sum of all voices.
class Voice {
  friend struct VoiceGroup;  // renders voices side by side (engine/VoiceLanes.cpp)

 public:
  static constexpr int kResetKey = 60;

  // Level factor of a note: 1 at velocity 127, falling linearly to 1 - amount
  // at velocity 0 (amount: normalised "Velocity").
  static double GainForVelocity(int velocity, double amount);

  void SetOwner(const KeyPitchSource* owner) { owner_ = owner; }
  // Binds both oscillators to the shared pitch-bend offset.
  void SetPerformance(const PerformanceValues* performance);
  // The owner's rate-dependent tables, shared by all its voices; bind them
  // before the first SetSampleRate, which sets the oscillators and the filter up.
  void SetTables(IncrementTable& increments, CutoffTable& cutoffs);
  // The owner's footage mixes, shared by all its oscillators.
  void SetFootageMixes(FootageMixes* mixes);
  // The owner's noise source, drawn from by a voice with its own filter.
  void SetNoise(NoiseGenerator* noise) { noise_ = noise; }
  // Back to silence at the reset key, set up for a sample rate. Parameters are
  // kept; the filter stays at the cutoff it was last given.
  void SetSampleRate(double rate);

  // The oscillators take the key's pitch at the next VoiceControlUpdate.
  void StartVoice(int key, int velocity, int stamp);
  // Key up: the note goes on sounding while the pedal holds it.
  void Release();
  // Puts the note into release at once, pedal or not.
  void ForceRelease();
  // Once per control tick: pitch and cutoff modulation in pitch-index units.
  // Here the voice notices that it has fallen silent.
  void VoiceControlUpdate(double pitchModulation, double vcfModulation);
  // One output sample.
  double RenderVoice();
  // RenderVoice in parts, also for voices rendered side by side (engine/VoiceLanes.h):
  // the oscillator mix (envelopes stepped), then the own filter's input with its cutoff
  // offset (DEG3 stepped, noise added; the caller draws the noise sample, only when
  // DrawsNoise()). The filter's output times VelocityGain() is the voice's sample.
  double RenderSources();
  double PrepareOwnFilter(double mix, double noise, int& offset);
  bool DrawsNoise() const { return ownFilter_ && filter_.DrawsNoise(); }
  const Vcf& OwnFilterVcf() const { return filter_.Filter(); }
  // A parameter change; indices the voice has no use for are ignored.
  void SetParameter(int index, double plain, double n);

  bool Active() const { return active_; }
  bool KeyHeld() const { return keyHeld_; }
  bool Gate() const { return gate_; }
  bool Sustained() const { return sustained_; }
  void SetSustained(bool sustained) { sustained_ = sustained; }
  int Key() const { return key_; }
  int Velocity() const { return velocity_; }
  int StartStamp() const { return startStamp_; }
  double NotePitchIndex() const { return notePitchIndex_; }
  double SampleRate() const { return sampleRate_; }
  double VelocityGain() const { return velocityGain_; }
  bool OwnFilter() const { return ownFilter_; }
  const DigitalEnvelope& Deg1() const { return deg1_; }
  const DigitalEnvelope& Deg2() const { return deg2_; }
  const DigitalEnvelope& Deg3() const { return filter_.Deg3(); }

 private:
  void SetDcoParameter(Dco& dco, int offset, double plain, double n);
  void SetLegacy(bool legacy);
  void ReleaseEnvelopes();

  const KeyPitchSource* owner_ = nullptr;
  IncrementTable* increments_ = nullptr;
  CutoffTable* cutoffs_ = nullptr;
  NoiseGenerator* noise_ = nullptr;

  Dco dco1_;
  Dco dco2_;
  DigitalEnvelope deg1_;
  DigitalEnvelope deg2_;
  FilterSection filter_;  // with "God Mode" on

  double dco1Level_ = 0.0;
  double dco2Level_ = 0.0;
  double velocityAmount_ = 0.0;
  bool doubleMode_ = false;
  bool ownFilter_ = false;
  bool legacy_ = false;

  double sampleRate_ = 44100.0;
  double notePitchIndex_ = kResetKey * 128.0;
  double vcfModulation_ = 0.0;
  double keyTrackOffset_ = 0.0;
  double velocityGain_ = 1.0;
  bool active_ = false;
  bool keyHeld_ = false;
  bool gate_ = false;
  bool sustained_ = false;
  int key_ = kResetKey;
  int velocity_ = 0;
  int startStamp_ = 0;
};

// Per sample, here so that it is inlined where voices are rendered.
inline double Voice::RenderSources() {
  double mix = 0.0;
  deg1_.EnvelopeStep();
  if (dco1Level_ > 0.0) {
    const double e = deg1_.Level();
    mix = dco1_.Render() * e * e * dco1Level_;
  }
  deg2_.EnvelopeStep();
  if (doubleMode_ && dco2Level_ > 0.0) {
    const double e = deg2_.Level();
    mix += dco2_.Render() * e * e * dco2Level_;
  }
  return mix;
}

inline double Voice::PrepareOwnFilter(double mix, double noise, int& offset) {
  return filter_.PrepareInput(mix, velocityGain_, keyTrackOffset_ + vcfModulation_, noise, offset);
}
