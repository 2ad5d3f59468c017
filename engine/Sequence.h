#pragma once

#include <cstdint>
#include <vector>

// Semitone offsets the chord memory adds to a played key, in stored order.
using ChordNotes = std::vector<int32_t>;

// One note of a sequence step.
struct StepNote {
  int32_t note = 0;
  int32_t velocity = 0;
};

// A tie step holds the notes that are sounding; an ordinary step first releases the
// notes of the last ordinary step, then starts its own. An ordinary step without notes
// is a rest.
struct SequenceStep {
  bool tie = false;
  std::vector<StepNote> notes;
};

using Sequence = std::vector<SequenceStep>;
