#include "engine/Sequencer.h"

#include <algorithm>
#include <utility>

namespace {

constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;

MidiMessage Note(int offset, uint8_t status, int key, int velocity) {
  return {offset, status, static_cast<uint8_t>(key), static_cast<uint8_t>(velocity)};
}

}  // namespace

void Sequencer::Replace(Sequence sequence) {
  sequence_ = std::move(sequence);
  stepIndex_ = 0;
}

void Sequencer::PlayStep(int offset, int keyShift, bool toHost) {
  if (sequence_.empty()) {
    running = false;
    Silence(offset, true);
    return;
  }
  if (stepIndex_ < 0 || stepIndex_ >= static_cast<int>(sequence_.size())) stepIndex_ = 0;
  const SequenceStep& step = sequence_[static_cast<size_t>(stepIndex_)];
  if (!step.tie) {
    Silence(offset, true);
    for (const StepNote& note : step.notes) {
      SendNoteOn(offset, note.note + keyShift, note.velocity, toHost);
    }
  }
  stepIndex_ = (stepIndex_ + 1) % static_cast<int>(sequence_.size());
}

// A velocity of 0 would read as a note-off; keys outside MIDI's range reach the engine
// at its edge and the host not at all.
void Sequencer::SendNoteOn(int offset, int key, int velocity, bool toHost) {
  const int engineKey = std::clamp(key, 0, kKeyCount - 1);
  const bool hostGetsIt = toHost && key == engineKey;
  output_.SequencerNote(Note(offset, kNoteOn, engineKey, std::clamp(velocity, 1, 127)), true,
                        hostGetsIt);
  engineKeys_.set(static_cast<size_t>(engineKey));
  if (hostGetsIt) hostKeys_.set(static_cast<size_t>(key));
}

void Sequencer::Silence(int offset, bool toEngine) {
  for (int key = 0; key < kKeyCount; ++key) {
    const bool engine = toEngine && engineKeys_.test(static_cast<size_t>(key));
    const bool host = hostKeys_.test(static_cast<size_t>(key));
    if (engine || host) output_.SequencerNote(Note(offset, kNoteOff, key, 0), engine, host);
  }
  engineKeys_.reset();
  hostKeys_.reset();
}

void Sequencer::StartRecording() {
  sequence_.clear();
  sequence_.emplace_back();
  stepIndex_ = 0;
}

bool Sequencer::OpenNextStep(bool tie) {
  if (static_cast<int>(sequence_.size()) >= kStepLimit) return false;
  sequence_.push_back({tie, {}});
  stepIndex_ = static_cast<int>(sequence_.size()) - 1;
  return true;
}

void Sequencer::AddNote(int key, int velocity) {
  if (sequence_.empty()) return;
  std::vector<StepNote>& notes = sequence_.back().notes;
  const bool known = std::any_of(notes.begin(), notes.end(),
                                 [key](const StepNote& note) { return note.note == key; });
  if (!known) notes.push_back({key, velocity});
}

void Sequencer::DeleteLastStep() {
  if (sequence_.empty()) return;
  if (sequence_.size() >= 2) sequence_.pop_back();
  stepIndex_ = static_cast<int>(sequence_.size()) - 1;
  sequence_.back() = SequenceStep{};
}

void Sequencer::DropEmptyLastStep() {
  if (!sequence_.empty() && sequence_.back().notes.empty()) sequence_.pop_back();
  stepIndex_ = 0;
}
