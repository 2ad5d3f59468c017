#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/Sequence.h"
#include "programs/ChunkBuffer.h"

// One program as a state record holds it: the parameters' plain values, the chord
// memory, the step sequence and the extension fields behind them.
struct StateRecord {
  static constexpr int kValueCount = 80;
  static constexpr char kMarker[] = "Tarsyn7_2.4.2";  // written without its terminator
  static constexpr int kMarkerLength = 13;
  static constexpr int32_t kExtensionCount = 5;
  static constexpr int32_t kFormatVersion = 2501;

  std::array<double, kValueCount> values{};
  ChordNotes chord;
  Sequence sequence;
  int32_t extensionCount = kExtensionCount;
  int32_t formatVersion = kFormatVersion;
  uint8_t legacyByte = 0;
};

// Whether a record in the current form (with its marker) starts at `position`.
bool HasStateMarker(const ChunkBuffer& chunk, int position);

// Appends `record` in the current form: marker, program index and name, then the body
// and the extension (count, current format version, legacy byte). False when the buffer
// could not grow.
bool AppendStateRecord(ChunkBuffer& chunk, const StateRecord& record, int32_t programIndex,
                       const std::string& programName);

// Appends `record` in the legacy form the factory banks hold: no marker head, the
// record's own format version.
bool AppendLegacyStateRecord(ChunkBuffer& chunk, const StateRecord& record);

// Reads one record at `position`, with or without the marker head. With `skipSound` the
// values and chord notes, with `skipSequence` the steps, are passed over and their fields
// in `record` are left alone. Every field is checked against the end of the buffer;
// answers the position behind the record, or a negative position when it is cut short
// (the fields of `record` are then unspecified).
int ParseStateRecord(const ChunkBuffer& chunk, int position, StateRecord& record, bool skipSound,
                     bool skipSequence);
