#pragma once

#include <array>
#include <cstdint>

#include "engine/FootageMixes.h"
#include "engine/PitchToFrequency.h"

class IncrementTable;
class SquareTables;

// What an oscillator does per sample: reads its audible footages at the phase and moves the
// phase on. Kept apart from the settings, so that several oscillators can be rendered side
// by side from copies of their readers.
struct DcoReader {
  static constexpr int kFootageCount = 4;
  static constexpr uint32_t kPhaseMask = (1u << 27) - 1;
  static constexpr uint32_t kTableMask = 2047;

  double Next() {
    double out = 0.0;
    for (int f = 0; f < kFootageCount && f < count; ++f) {
      out += tables[f][(phase >> (16 - f)) & kTableMask] * gains[f];
    }
    phase = (phase + increment) & kPhaseMask;
    return out;
  }
  // Next for `frames` samples, written `stride` entries apart.
  void ReadRun(double* out, int stride, int frames);

  // Footages are read from 16' up to the highest one below Nyquist with a gain other than 0.
  int count = 0;
  std::array<const double*, kFootageCount> tables{};
  std::array<double, kFootageCount> gains{};
  uint32_t phase = 0;  // 27 bits
  uint32_t increment = 0;
  FootageMixes::Handle mix;  // the footages summed, read by ReadRun while valid
};

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
  // The plug-in's footage mixes, asked for one whenever the footages read change.
  void BindFootageMixes(FootageMixes* mixes);

  void SetOctave(int octave);       // -2..0
  void SetInterval(int semitones);  // 0..12
  void SetDetune(double n);         // normalised "DCO2 Detune"
  void SetLegacyDetune(bool legacy);

  void SetWaveform(double w);  // 0 square organ mix, 1 stepped sawtooth
  void SetFootageLevel(Footage footage, double level);

  // Takes pitch index p (plus the oscillator's offset and the bend); new tables
  // only when the integer index changes. Silent until set up for a rate.
  void SetPitch(double p);

  double Render() { return reader_.Next(); }
  // The per-sample part, for rendering runs elsewhere (engine/VoiceLanes).
  const DcoReader& Reader() const { return reader_; }
  DcoReader& Reader() { return reader_; }

  // Square table read by a footage, or -1 when it is silent (above Nyquist).
  int FootageTable(Footage footage) const;

 private:
  void UpdatePitchOffset();
  void UpdateGains();
  void UpdateReader();
  void ChooseTables(int index);
  void AskForMix();
  void KeepMix();

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
  DcoReader reader_;
  FootageMixes* mixes_ = nullptr;
  FootageMixes::Key mixKey_;  // of the mix last asked for
  uint64_t mixAskedIn_ = 0;   // block
};
