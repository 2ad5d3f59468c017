#include "engine/Tarsyn7.h"

#include <algorithm>

#include "engine/PitchToFrequency.h"

namespace {

// Keys beyond the pitch tables sound at the table's end; keeping them there keeps every
// sum that starts from a key (chord intervals, key tracking) far from overflowing.
int KeyInPitchRange(int64_t key) {
  return static_cast<int>(std::clamp<int64_t>(key, 0, kPitchIndexMax / kStepsPerSemitone));
}

}  // namespace

void Tarsyn7::NoteOn(int key, int velocity) {
  if (microtuning_.ShouldFilterNote(key & 0x7F)) return;
  heldKeys_.Press(key, velocity);
  if (keyMode_ == kChord) {
    ReleaseForChord();
    AssignVoice(key, velocity);
    for (const int32_t interval : chordNotes_) {
      AssignVoice(KeyInPitchRange(static_cast<int64_t>(key) + interval), velocity);
    }
  } else {
    AssignVoice(key, velocity);
  }
  const bool onlyKey = heldKeys_.Count() == 1;
  const bool retrigger = onlyKey || globalPath_.MultipleTrigger();
  if (!godMode_) {
    if (legacy_ && retrigger) mg_.CentrePhase();
    globalPath_.NoteStarted(key, velocity, heldKeys_.Count());
  }
  if (retrigger) mg_.RestartDelay();
  if (keyMode_ == kRecording) sequencer_.AddNote(key, velocity);
}

// A chord replaces whatever sounded: every playable voice goes into release first.
void Tarsyn7::ReleaseForChord() {
  for (int i = 0; i < voiceCount_; ++i) voices_[static_cast<size_t>(i)].ForceRelease();
}

void Tarsyn7::NoteOff(int key) {
  const bool wasHeld = heldKeys_.Contains(key);
  heldKeys_.Lift(key);
  if (keyMode_ == kChord) {
    for (int i = 0; i < voiceCount_; ++i) {
      Voice& voice = voices_[static_cast<size_t>(i)];
      if (!voice.Gate()) continue;
      if (heldKeys_.Contains(voice.Key())) break;
      // A chord voice stays while the key it was built on is still down.
      bool partOfHeldChord = false;
      for (const int32_t interval : chordNotes_) {
        partOfHeldChord = partOfHeldChord || heldKeys_.Contains(voice.Key() - interval);
      }
      if (!partOfHeldChord) voice.Release();
    }
    if (heldKeys_.Count() == 1) {
      const int remaining = heldKeys_.First();
      NoteOn(remaining, heldKeys_.Velocity(remaining));  // its chord sounds again
    }
  } else {
    for (int i = 0; i < voiceCount_; ++i) {
      Voice& voice = voices_[static_cast<size_t>(i)];
      if (voice.Gate() && voice.Key() == key) {
        voice.Release();
        break;
      }
    }
  }
  if (heldKeys_.Empty() && !sustainPedal_) globalPath_.ReleaseEnvelope();
  // Letting go of the last key closes the step being recorded.
  if (keyMode_ == kRecording && wasHeld && heldKeys_.Empty()) RecordNextStep();
}

// Pedal up: voices whose key is no longer down are released.
void Tarsyn7::SustainPedal(bool down) {
  sustainPedal_ = down;
  for (int i = 0; i < voiceCount_; ++i) {
    Voice& voice = voices_[static_cast<size_t>(i)];
    voice.SetSustained(down);
    if (!voice.KeyHeld() && !down) voice.ForceRelease();
  }
  if (heldKeys_.Empty() && !down) globalPath_.ReleaseEnvelope();
}

void Tarsyn7::AssignVoice(int key, int velocity) {
  key = KeyInPitchRange(key);
  const int index = ChooseVoice(key);
  Voice& voice = voices_[static_cast<size_t>(index)];
  const bool wasActive = voice.Active();
  voice.StartVoice(key, velocity, ++stampCounter_);
  if (!wasActive) MarkActive(index);
}

// The voice that last played the key; else a silent one; else a releasing one; else
// the one started longest ago.
int Tarsyn7::ChooseVoice(int key) const {
  const auto stamp = [this](int i) { return voices_[static_cast<size_t>(i)].StartStamp(); };
  for (int i = 0; i < voiceCount_; ++i) {
    if (voices_[static_cast<size_t>(i)].Key() == key) return i;
  }
  int candidate = -1;
  int oldestReleasing = -1;
  for (int c = 0; c < voiceCount_; ++c) {
    const Voice& voice = voices_[static_cast<size_t>(c)];
    if (voice.Gate()) continue;
    if (!voice.Active()) return c;
    for (int j = c + 1; j < voiceCount_; ++j) {
      if (stamp(c) < stamp(j)) candidate = c;
    }
    if (oldestReleasing < 0 || stamp(c) < stamp(oldestReleasing)) oldestReleasing = c;
  }
  if (candidate >= 0) return candidate;
  // The scan above never picks a releasing voice with no newer voice behind it; a
  // releasing voice still beats stealing one whose key is held.
  if (oldestReleasing >= 0) return oldestReleasing;
  int oldest = 0;
  for (int i = 1; i < voiceCount_; ++i) {
    if (stamp(i) < stamp(oldest)) oldest = i;
  }
  return oldest;
}
