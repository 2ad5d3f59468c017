#include <algorithm>
#include <mutex>
#include <utility>

#include "engine/ChordMemory.h"
#include "engine/Tarsyn7.h"

namespace {

constexpr int kTransposeCentre = 60;

}  // namespace

void Tarsyn7::SetSequence(Sequence sequence) {
  std::lock_guard<ReentrantLock> guard(Lock());
  if (keyMode_ == kRecording) SwitchRecordingOff();
  sequencer_.Replace(std::move(sequence));
  sequencer_.sequenceExisted = sequencer_.recordEnabled && !sequencer_.Steps().empty();
}

// Sequencer notes reach the engine through the queue of the tick that plays them. The
// host's offsets count from the block start; a step the block's last tick plays beyond
// the block goes out on its last sample.
void Tarsyn7::SequencerNote(const MidiMessage& message, bool toEngine, bool toHost) {
  if (toHost) {
    MidiMessage out = message;
    out.offset = std::min(message.offset + sequencerOffsetBase_, sequencerLastFrame_);
    SendMidi(out);
  }
  if (toEngine) midiQueue_.Add(message);
}

void Tarsyn7::UpdateStepLength() {
  SequencerClock& clock = sequencer_.Clock();
  clock.SetHostClock(sequencerHostClock_);
  clock.UpdateStepLength(SampleRate(), sequencerSpeed_, sequencerSpeedStep_);
}

// "Mode" names the key mode to play in; while recording it is the one to return to.
void Tarsyn7::ApplyKeyMode(int mode) {
  sequencer_.savedKeyMode = mode;
  if (keyMode_ != kRecording) keyMode_ = mode;
}

void Tarsyn7::SequencerRun(bool on) {
  std::lock_guard<ReentrantLock> guard(Lock());
  const bool starting = on && keyMode_ != kRecording;
  if (starting) {
    sequencer_.Rewind();
    sequencer_.Clock().Restart();
  }
  sequencer_.Silence(0, false);  // the voices are released below
  ReleaseAllVoices();
  sequencer_.running = starting && !sequencer_.Steps().empty();
}

void Tarsyn7::SetRecordEnabled(bool on) {
  std::lock_guard<ReentrantLock> guard(Lock());
  sequencer_.recordEnabled = on;
  sequencer_.sequenceExisted = on && !sequencer_.Steps().empty();
  if (on) {
    if (sequencer_.running) SequencerRun(false);
  } else {
    EndRecording();
  }
}

void Tarsyn7::StartRecording() {
  sequencer_.sequenceExisted = false;
  sequencer_.savedKeyMode = keyMode_;
  keyMode_ = kRecording;
  ReleaseAllVoices();
  sequencer_.StartRecording();
}

void Tarsyn7::EndRecording() {
  if (keyMode_ != kRecording) return;
  ReleaseAllVoices();
  sequencer_.DropEmptyLastStep();
  keyMode_ = sequencer_.savedKeyMode;
}

// At the step limit, or when the sequence is replaced, the record switch goes off too.
void Tarsyn7::SwitchRecordingOff() {
  sequencer_.recordEnabled = false;
  sequencer_.sequenceExisted = false;
  EndRecording();
}

void Tarsyn7::RecordNextStep() {
  if (!sequencer_.OpenNextStep(false)) SwitchRecordingOff();
}

// STEP: with keys held on a step that has notes, the next step ties; without, it rests.
void Tarsyn7::RecordTieOrRest() {
  const bool tie = !heldKeys_.Empty() && sequencer_.CurrentStepHasNotes();
  if (!sequencer_.OpenNextStep(tie)) SwitchRecordingOff();
}

void Tarsyn7::CaptureChord() {
  std::lock_guard<ReentrantLock> guard(Lock());
  std::vector<int> keys;
  for (int i = 0; i < voiceCount_; ++i) {
    const Voice& voice = voices_[static_cast<size_t>(i)];
    if (voice.Gate()) keys.push_back(voice.Key());
  }
  chordNotes_ = ChordFromKeys(std::move(keys));
}

// A new sample rate: playback and recording end, and the host is waited for afresh.
void Tarsyn7::ResetSequencer() {
  EndRecording();
  sequencer_.Silence(0, false);
  sequencer_.running = false;
  sequencer_.armed = false;
  sequencer_.hostPlaying = false;
  sequencer_.recordEnabled = false;
  sequencer_.sequenceExisted = false;
  keyMode_ = sequencer_.savedKeyMode;
  UpdateStepLength();
}

void Tarsyn7::BeginSequencerBlock(int frames) {
  sequencerLastFrame_ = frames - 1;
  const int covered = std::max(controlCounter_, 0);
  sequencerTickOffset_ = covered;
  if (sequencerHostClock_) SyncToHost(covered);
}

// The host's transport starts and stops the sequencer; while it plays, the steps follow
// its beat grid, and a jump back starts the sequence again.
void Tarsyn7::SyncToHost(int covered) {
  ReadHostTime(timeInfo_);
  SequencerClock& clock = sequencer_.Clock();
  if (clock.TakeHostTempo(timeInfo_.tempo)) UpdateStepLength();
  if (timeInfo_.playing && !sequencer_.hostPlaying) {
    sequencer_.lastPpq = Sequencer::kNoPpq;
    sequencer_.armed = true;
    sequencer_.hostPlaying = true;
    clock.ForgetPlayedSteps();
    if (!sequencerPlayOnNote_) SequencerRun(true);
  } else if (!timeInfo_.playing && sequencer_.hostPlaying) {
    sequencer_.hostPlaying = false;
    sequencer_.armed = true;
    if (!sequencerPlayOnNote_) SequencerRun(false);
  }
  const double ppq = timeInfo_.ppqPosition;
  if (sequencer_.hostPlaying && ppq != sequencer_.lastPpq) {
    if (sequencer_.lastPpq > ppq) {
      sequencer_.Rewind();
      clock.ForgetPlayedSteps();
    }
    clock.AlignToHost(ppq, static_cast<double>(timeInfo_.samplePosition), covered);
  }
  sequencer_.lastPpq = ppq;
}

void Tarsyn7::AdvanceSequencerClock(int samples) {
  if (sequencer_.running) {
    const int transpose = sequencerTranspose_ ? sequencer_.transpose : 0;
    sequencerOffsetBase_ = sequencerTickOffset_;
    sequencer_.Clock().Advance(samples, [&](int offset) {
      sequencer_.PlayStep(offset, transpose, configuration_.MidiThru());
    });
    sequencerOffsetBase_ = 0;
  }
  sequencerTickOffset_ += samples;
}

bool Tarsyn7::SequencerTakesNote(const MidiMessage& note) {
  if (keyMode_ == kRecording) return false;
  if (note.StatusGroup() == 0x8) {
    if (!sequencerPlayOnNote_ || !sequencer_.running) return false;
    SequencerRun(false);
    return true;
  }
  if (sequencerPlayOnNote_ && sequencer_.armed) {
    if (sequencerTranspose_) sequencer_.transpose = note.data1 - kTransposeCentre;
    SequencerRun(true);
    return true;
  }
  if (!sequencer_.running || !sequencerTranspose_) return false;
  sequencer_.transpose = note.data1 - kTransposeCentre;
  return true;
}
