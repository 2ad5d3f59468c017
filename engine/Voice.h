#pragma once

#include "engine/KeyPitchSource.h"
#include "engine/PerformanceValues.h"

// The unit of polyphony. The plug-in object owns 64 of them by value.
class Voice {
 public:
  static constexpr int kResetKey = 60;

  void SetOwner(const KeyPitchSource* owner) { owner_ = owner; }
  void SetPerformance(const PerformanceValues* performance) { performance_ = performance; }
  // Back to silence at the reset key, set up for a sample rate.
  void SetSampleRate(double rate);
  // Puts the note into release at once, pedal or not.
  void ForceRelease();

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

 private:
  const KeyPitchSource* owner_ = nullptr;
  const PerformanceValues* performance_ = nullptr;
  double sampleRate_ = 44100.0;
  double notePitchIndex_ = kResetKey * 128.0;
  bool active_ = false;
  bool keyHeld_ = false;
  bool gate_ = false;
  bool sustained_ = false;
  int key_ = kResetKey;
  int velocity_ = 0;
  int startStamp_ = 0;
};
