#pragma once

#include <array>
#include <cstdint>

#include "control/ParameterIndex.h"

// The two memory layouts of the hardware: the Poly-800 (with the MIDI Dump Kit) and the
// EX-800 share one, the Poly-800 II has its own.
enum class HardwareLayout { kPoly800, kPoly800II };

// Plain values of all parameters, in index order; a hardware record reads and writes the
// ones it holds and leaves the others alone.
using ParameterValues = std::array<double, kParameterCount>;

// One program as the hardware stores it: 21 bytes of packed bit fields.
struct HardwareProgramRecord {
  static constexpr int kSize = 21;
  static constexpr int kFieldCount = 47;

  std::array<uint8_t, kSize> bytes{};

  // The record's fields as plain values, each clamped into the hardware's range. On the
  // Poly-800 II "Chorus" is not part of the record and becomes 0.
  void Read(HardwareLayout layout, ParameterValues& values) const;
  // Packs the plain values of the parameters the record holds.
  static HardwareProgramRecord FromValues(const ParameterValues& values, HardwareLayout layout);
};

// The parameters a record holds, in the order of its fields.
const std::array<ParameterIndex, HardwareProgramRecord::kFieldCount>& HardwareRecordParameters();

// A value as the hardware presents it (its display, and tables of its programs: "DCO1
// Octave" 1-3, "Chorus" 1 for on, a footage 1 for on) as the plain value of that
// parameter, clamped into the hardware's range. The two are the same numbers; only the
// bits inside the record are coded differently. `index` must be one of the record's
// parameters.
double PlainFromHardwareValue(int index, double value);

// The value the hardware receives for a plain value: rounded down, except that "Chorus"
// is on above 0 and a footage on from 0.5.
int HardwareValueFromPlain(int index, double plain);
