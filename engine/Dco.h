#pragma once

#include <array>
#include <cstdint>

#include "engine/PitchToFrequency.h"

class IncrementTable;
class SquareTables;

// One digital oscillator group: a band-limited square wave at four footages,
// 16' at the pitch, 8', 4' and 2' one, two and three octaves above, mixed by
// footage gains. Tables are chosen at control rate, rendering only reads them.
class Dco {
 public:
  enum Footage { k16, k8, k4, k2, kFootageCount };

  Dco();  // builds the square tables on first use

  // Reads increments from `increments`, which is brought to `sampleRate` first
  // (a no-op when it already holds it); restarts the phase.
  void SetSampleRate(IncrementTable& increments, double sampleRate);

  // The plug-in's pitch-bend offset in pitch-index units, read at every SetPitch.
  void BindPitchBend(const double* offset) { pitchBend_ = offset; }

  void SetOctave(int octave);       // -2..0
  void SetInterval(int semitones);  // 0..12
  void SetDetune(double n);         // normalised "DCO2 Detune"
  void SetLegacyDetune(bool legacy);

  void SetWaveform(double w);  // 0 square organ mix, 1 stepped sawtooth
  void SetFootageLevel(Footage footage, double level);

  // Takes pitch index p (plus the oscillator's offset and the bend); new tables
  // only when the integer index changes. Silent until set up for a rate.
  void SetPitch(double p);

  double Render() {
    double out = 0.0;
    for (int f = 0; f < kFootageCount; ++f) {
      if (tables_[f] == nullptr) break;  // higher footages are above Nyquist too
      out += tables_[f][(phase_ >> (16 - f)) & kTableMask] * gains_[f];
    }
    phase_ = (phase_ + static_cast<uint32_t>(increment_)) & kPhaseMask;
    return out;
  }

  // Square table read by a footage, or -1 when it is silent (above Nyquist).
  int FootageTable(Footage footage) const;

 private:
  static constexpr uint32_t kPhaseMask = (1u << 27) - 1;
  static constexpr uint32_t kTableMask = 2047;

  void UpdatePitchOffset();
  void UpdateGains();
  void ChooseTables(int index);

  const SquareTables* squares_;
  const IncrementTable* increments_ = nullptr;
  const double* pitchBend_;

  bool legacyDetune_ = false;
  double detune_ = 0.0;
  int octave_ = -1;
  int interval_ = 0;
  int pitchOffset_ = -12 * kStepsPerSemitone;  // pitch-index units
  int lastIndex_ = -1;                         // none yet

  double waveform_ = 0.0;
  std::array<double, kFootageCount> levels_{};
  std::array<double, kFootageCount> gains_{};
  std::array<const double*, kFootageCount> tables_{};

  uint32_t phase_ = 0;  // 27 bits
  int32_t increment_ = 0;
};
