#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Oscillator phase increment per sample of every pitch index, in units of a
// 27-bit phase cycle, with the square table each footage reads at that increment.
// One table per plug-in object, shared by all its oscillators; rebuilt only when the
// sample rate changes.
class IncrementTable {
 public:
  static constexpr int kFootageCount = 4;  // 16', 8', 4', 2'
  static constexpr int8_t kSilent = -1;    // at or above Nyquist
  using FootageTables = std::array<int8_t, kFootageCount>;

  IncrementTable();  // built for 44100 Hz

  // Refills the table unless it already holds `sampleRate`; a rate of 0 or
  // below is no rate and keeps the table as it is.
  void SetSampleRate(double sampleRate);

  double SampleRate() const { return sampleRate_; }

  // Increment of a pitch index; indices outside 0..kPitchIndexMax saturate.
  int32_t At(int index) const;
  // Square table index of every footage at a pitch index in 0..kPitchIndexMax.
  const FootageTables& TablesAt(int index) const { return tables_[index]; }

 private:
  void Fill();

  double sampleRate_ = 44100.0;
  std::vector<int32_t> increments_;
  std::vector<FootageTables> tables_;
};
