#pragma once

#include <bitset>

#include "engine/Sequence.h"
#include "engine/SequencerClock.h"
#include "host/MidiMessage.h"

// Where the sequencer's notes go. Implemented by the plug-in object.
class SequencerOutput {
 public:
  // A note message at `message.offset` samples after the current control tick, for the
  // engine, for the host's MIDI output, or both.
  virtual void SequencerNote(const MidiMessage& message, bool toEngine, bool toHost) = 0;

 protected:
  ~SequencerOutput() = default;
};

// The step sequencer: the program's sequence, the step being played or recorded, the
// keys the last step sent, the clock and the flags the panel and the host drive.
class Sequencer {
 public:
  static constexpr int kStepLimit = 1000;

  explicit Sequencer(SequencerOutput& output) : output_(output) {}

  const Sequence& Steps() const { return sequence_; }
  // A new sequence; playback goes on from its first step.
  void Replace(Sequence sequence);
  int StepIndex() const { return stepIndex_; }
  void Rewind() { stepIndex_ = 0; }
  SequencerClock& Clock() { return clock_; }
  const SequencerClock& Clock() const { return clock_; }

  // Sends the current step at `offset` and moves on; a tie sends nothing. Keys are moved
  // by `keyShift`; the engine gets them clamped to 0..127, the host (with `toHost`)
  // only those inside. An empty sequence stops playback.
  void PlayStep(int offset, int keyShift, bool toHost);
  // Note-offs for every key the last step sent to the host and, with `toEngine`, to the
  // engine.
  void Silence(int offset, bool toEngine);

  // Recording: an empty sequence with its first step open.
  void StartRecording();
  // Closes the step being recorded and opens the next, a tie when asked. False at the
  // step limit, where nothing changes.
  bool OpenNextStep(bool tie);
  // The key joins the step being recorded, once.
  void AddNote(int key, int velocity);
  bool CurrentStepHasNotes() const { return !sequence_.empty() && !sequence_.back().notes.empty(); }
  // Removes the last step when at least one other remains; the then last step is
  // recorded again from scratch.
  void DeleteLastStep();
  // An opened step nothing was recorded into is dropped when recording ends.
  void DropEmptyLastStep();

  // Flags the panel, the note routing and the host sync drive.
  bool running = false;
  bool armed = false;          // waiting for a key or the host to start
  bool hostPlaying = false;    // the host's transport was seen playing
  bool recordEnabled = false;  // the record switch
  bool sequenceExisted = false;
  int savedKeyMode = 0;
  int transpose = 0;  // key − 60 of the last transposing key
  double lastPpq = kNoPpq;

  static constexpr double kNoPpq = -1000000.0;

 private:
  static constexpr int kKeyCount = 128;

  void SendNoteOn(int offset, int key, int velocity, bool toHost);

  SequencerOutput& output_;
  Sequence sequence_;
  int stepIndex_ = 0;
  SequencerClock clock_;
  std::bitset<kKeyCount> engineKeys_;  // sounding in the engine from the last step
  std::bitset<kKeyCount> hostKeys_;    // sent to the host by the last step
};
