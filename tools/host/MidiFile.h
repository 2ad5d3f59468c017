#pragma once

#include <cstdint>
#include <vector>

// One event for the instrument: a channel message, or a SysEx dump (starting with 0xF0,
// or any other bytes a file's 0xF7 escape carried).
struct MidiEvent {
  uint64_t tick = 0;
  std::vector<uint8_t> bytes;

  bool IsChannelMessage() const { return !bytes.empty() && bytes[0] >= 0x80 && bytes[0] < 0xF0; }
  bool IsProgramChange() const { return IsChannelMessage() && (bytes[0] & 0xF0) == 0xC0; }
};

struct TempoChange {
  uint64_t tick = 0;
  uint32_t microsecondsPerQuarter = 500000;
};

struct TimeSignatureChange {
  uint64_t tick = 0;
  int numerator = 4;
  int denominator = 4;
};

// A song as the renderer plays it: every track merged into one time-ordered list.
struct MidiFile {
  static constexpr uint32_t kDefaultTempo = 500000;  // 120 beats per minute

  int format = 0;
  int ticksPerQuarter = 480;
  // Set when the file counts time in SMPTE frames instead of quarter notes.
  double ticksPerSecond = 0.0;
  std::vector<MidiEvent> events;
  std::vector<TempoChange> tempos;
  std::vector<TimeSignatureChange> signatures;

  uint64_t LastTick() const { return events.empty() ? 0 : events.back().tick; }
};
