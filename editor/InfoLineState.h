#pragma once

#include <string>

// What the information line reports about chord memory and sequencer.
struct InfoLineState {
  enum Status { kIdle, kRecording, kRunning, kWaitingForNote };

  int chordNotes = 0;     // 0 when the chord memory is empty
  double tempo = 0.0;     // the host's, or "Seq. Frequency"
  std::string noteValue;  // of the host-synchronised step; empty on the own clock
  int steps = 0;
  Status status = kIdle;
};
