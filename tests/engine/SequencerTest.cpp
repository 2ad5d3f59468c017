// The step sequencer and chord memory played through the instrument: step timing on
// both clocks, recording, transposition and what reaches the host's MIDI output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "control/ParameterIndex.h"
#include "engine/ChordMemory.h"
#include "engine/Tarsyn7.h"
#include "tests/host/TestHost.h"

namespace {

constexpr int kPeriod = 44;  // control period at 44.1 kHz
constexpr int kStart = Tarsyn7::kStartStopButton;
constexpr int kStep = Tarsyn7::kStepButton;
constexpr double kSixteenths = 15.5 / 19;  // "Seq. Frequency" as the division "1/16"

class Plug : public Tarsyn7 {
 public:
  using Tarsyn7::Tarsyn7;
  void SetMidiThru(bool on) { configuration_.SetMidiThru(on); }
};

struct HostNote {
  int64_t sample;
  int status;
  int key;
};

SequenceStep Notes(std::initializer_list<int> keys) {
  SequenceStep step;
  for (int key : keys) step.notes.push_back({key, 100});
  return step;
}

class SequencerTest : public ::testing::Test {
 protected:
  SequencerTest() {
    plug.ChangeSampleRate(44100.0);
    plug.ChangeBlockSize(512);
    plug.ResetProcessing();
    plug.ActivationChanged(true);
    plug.SetMidiThru(true);
  }

  void Key(bool down, int key) {
    plug.HandleMidiMessage(
        {0, static_cast<uint8_t>(down ? 0x90 : 0x80), static_cast<uint8_t>(key), 100});
  }
  // Left channel; the host's notes are kept at their samples.
  std::vector<double> Render(int frames, int block = kPeriod) {
    std::vector<double> all, left(static_cast<size_t>(block)), right(left);
    for (int done = 0; done < frames; done += block, position += block) {
      double* outputs[] = {left.data(), right.data()};
      plug.RenderBlock(nullptr, outputs, block);
      all.insert(all.end(), left.begin(), left.end());
      for (const auto& e : host.sent)
        hostNotes.push_back({position + e.deltaFrames, e.bytes[0], e.bytes[1]});
      host.sent.clear();
    }
    return all;
  }
  bool AnyGate() const {
    for (int i = 0; i < Tarsyn7::kVoiceCount; ++i) {
      if (plug.GetVoice(i).Gate()) return true;
    }
    return false;
  }
  // The first note-on the host got at or after `from`.
  HostNote NextHostNoteOn(int64_t from) const {
    for (const HostNote& note : hostNotes) {
      if (note.sample >= from && (note.status & 0xF0) == 0x90) return note;
    }
    return {-1, 0, 0};
  }
  // Every note-on the host got has its note-off, and no key byte left MIDI's range.
  void ExpectHostNotesEnded() const {
    std::map<int, int> sounding;
    for (const HostNote& note : hostNotes) {
      EXPECT_LT(note.key, 128);
      sounding[note.key] += (note.status & 0xF0) == 0x90 ? 1 : -1;
    }
    for (const auto& [key, count] : sounding) EXPECT_LE(count, 0) << "key " << key;
  }

  TestHost host;
  ActiveHost active{&host};
  Plug plug{&TestHost::Callback};
  int64_t position = 0;
  std::vector<HostNote> hostNotes;
};

}  // namespace

// At "Seq. Frequency" 120 a step lasts 5512.5 samples: steps sound every 5513 samples,
// the first on the first sample after the start.
TEST_F(SequencerTest, InternalClockPlaysStepsAtTheirSamples) {
  Key(true, 69);  // the voice learns its pitch before the measurement
  Render(kPeriod * 10);
  Key(false, 69);
  Render(kPeriod * 400);
  plug.SetSequence({Notes({69}), {}});
  plug.PanelCommand(kStart);
  const std::vector<double> out = Render(8 * 5513 + 100);
  for (int step = 0; step < 8; step += 2) {
    const auto from = out.begin() + (step == 0 ? 0 : step * 5513 - 500);  // the rest's end
    const auto onset = std::find_if(from, out.end(), [](double x) { return std::fabs(x) > 1e-6; });
    // the envelope rises from 0 and the wave may start near a zero crossing
    EXPECT_NEAR(onset - out.begin(), step * 5513, 2) << "step " << step;
  }
}

// Chord C-E-G pressed and released together, STEP without a key (a rest), a tie while a
// key is held; START/STOP deletes steps; at 1000 steps recording ends with no tie set.
TEST_F(SequencerTest, RecordsChordsRestsTiesAndStopsAtTheLimit) {
  plug.SetParameterFromEditor(kMode, 1.0);
  plug.SetRecordEnabled(true);
  plug.PanelCommand(kStart);
  for (int key : {60, 64, 67}) Key(true, key);
  Render(kPeriod);
  for (int key : {60, 64, 67, 70}) Key(false, key);  // 70 was never down: no new step
  Render(kPeriod);
  plug.PanelCommand(kStep);
  Key(true, 62);
  Render(kPeriod);
  plug.PanelCommand(kStep);
  Key(false, 62);
  Render(kPeriod);
  const Sequence& sequence = plug.GetSequence();
  ASSERT_EQ(sequence.size(), 5u);
  EXPECT_TRUE(sequence[0].notes.size() == 3u && sequence[1].notes.empty() && sequence[3].tie);
  plug.PanelCommand(kStart);  // drops the open step
  plug.PanelCommand(kStart);  // drops the tie; the step of 62 is recorded anew
  EXPECT_TRUE(sequence.size() == 3u && sequence[2].notes.empty());
  plug.SetRecordEnabled(false);
  EXPECT_EQ(plug.CurrentKeyMode(), Tarsyn7::kChord);
  EXPECT_EQ(sequence.size(), 2u);  // the chord and the rest

  plug.SetRecordEnabled(true);
  plug.PanelCommand(kStart);
  for (int i = 1; i < Sequencer::kStepLimit; ++i) plug.PanelCommand(kStep);
  Key(true, 60);
  Render(kPeriod);
  plug.PanelCommand(kStep);  // would tie into step 1001
  EXPECT_EQ(plug.CurrentKeyMode(), Tarsyn7::kChord);
  EXPECT_FALSE(plug.GetSequencer().recordEnabled);
  EXPECT_TRUE(sequence.size() == 1000u && !sequence[0].tie);
}

// A program change (through which pastes and loads pass) or a new sample rate while
// recording end the recording; later keys write nowhere.
TEST_F(SequencerTest, ReplacingTheSequenceEndsRecording) {
  ChunkBuffer other;
  plug.SetParameterFromEditor(kMode, 1.0);
  plug.SetSequence({Notes({50}), Notes({52})});
  ASSERT_TRUE(plug.WriteState(other));
  plug.SetParameterFromEditor(kMode, 0.0);
  for (int way = 0; way < 2; ++way) {
    plug.SetRecordEnabled(true);
    plug.PanelCommand(kStart);
    Key(true, 60);
    Render(kPeriod);
    if (way == 0) {
      EXPECT_GT(plug.ReadState(other, 0), 0);
    } else {
      plug.ChangeSampleRate(48000.0);
      plug.ResetProcessing();
    }
    Key(false, 60);
    Key(true, 61);
    Render(kPeriod);
    EXPECT_NE(plug.CurrentKeyMode(), Tarsyn7::kRecording) << way;
    EXPECT_FALSE(plug.GetSequencer().recordEnabled) << way;
    EXPECT_EQ(plug.CurrentKeyMode(), Tarsyn7::kChord) << way;         // the loaded program's mode
    EXPECT_EQ(plug.GetSequence().size(), way == 0 ? 2u : 1u) << way;  // the step of 60
  }
}

// With "Seq. Play On Note" a key starts playback and its release stops it. "Seq.
// Transpose" with MIDI thru: a key moves the following steps and is not played; keys
// pushed beyond 127 stay away from the host. Turning transposition off and loading a
// program without a sequence leave no note hanging, here or at the host.
TEST_F(SequencerTest, KeyStartedAndTransposedNotesAllEnd) {
  plug.SetParameterFromEditor(kSeqPlayOnNote, 1.0);
  plug.SetSequence({Notes({60}), Notes({62})});
  plug.PanelCommand(kStart);
  EXPECT_FALSE(plug.GetSequencer().running);  // waits for a key
  Key(true, 40);
  Render(kPeriod);
  EXPECT_TRUE(plug.GetVoice(0).Gate() && plug.GetVoice(0).Key() == 60);
  Key(false, 40);
  EXPECT_TRUE(plug.GetSequencer().armed && !plug.GetSequencer().running);
  plug.PanelCommand(kStart);  // gives up waiting
  plug.SetParameterFromEditor(kSeqPlayOnNote, 0.0);

  plug.SetParameterFromEditor(kSeqTranspose, 1.0);
  plug.SetSequence({Notes({60, 120}), Notes({64}), {true, {}}});
  plug.PanelCommand(kStart);
  Render(5513 * 2);
  Key(true, 70);  // +10: 120 becomes 130
  Render(5513 * 3);
  EXPECT_FALSE(plug.Held().Contains(70));
  EXPECT_EQ(NextHostNoteOn(5513 * 4).key, 74);
  plug.SetParameterFromEditor(kSeqTranspose, 0.0);
  Render(5513 * 2);
  Key(false, 70);
  ChunkBuffer empty;
  plug.SetSequence({});
  ASSERT_TRUE(plug.WriteState(empty));
  plug.SetSequence({Notes({60, 120}), Notes({64})});
  Render(5513 * 2);
  ASSERT_GT(plug.ReadState(empty, 0), 0);
  Render(5513);
  EXPECT_FALSE(plug.GetSequencer().running || AnyGate());
  ExpectHostNotesEnded();
}

// HOLD keeps the keys gated; CHORD MEMORY stores their intervals and switches to Chord.
TEST_F(SequencerTest, ChordMemoryCapturesTheHeldKeys) {
  EXPECT_TRUE(ChordFromKeys({48, 48}).empty());
  EXPECT_EQ(ChordFromKeys({52, 48, 52}), ChordNotes({4}));
  plug.PanelCommand(Tarsyn7::kHoldButton);
  for (int key : {55, 48, 52}) Key(true, key);
  Render(kPeriod);
  for (int key : {48, 52, 55}) Key(false, key);
  plug.PanelCommand(Tarsyn7::kChordMemoryButton);
  EXPECT_EQ(plug.Chord(), ChordNotes({4, 7}));
  EXPECT_FALSE(plug.SustainPedalDown());
  EXPECT_EQ(plug.GetParameter(kMode)->Value(), 1.0);
}

// Host clock, 120 BPM, "1/16": a step every 5512.5 samples. After a loop jump back the
// first step plays on the first grid line after the position (the grid itself is
// measured through the renderer). Time info giving only
// position and transport is followed; time info no host should send ends each block.
TEST_F(SequencerTest, HostClockFollowsTheGridAndSurvivesHostileTimeInfo) {
  plug.SetParameterFromEditor(kSeqClock, 1.0);
  plug.SetParameterFromEditor(kSeqFrequency, kSixteenths);
  plug.SetSequence({Notes({60}), Notes({62}), Notes({64})});
  host.timeGiven = true;
  host.time.flags = kVstTransportPlaying;
  const auto renderFrom = [this](double start, int blocks) {
    host.time.samplePos = start;
    for (int block = 0; block < blocks; ++block, host.time.samplePos += 441) {
      host.time.ppqPos = host.time.samplePos / 22050.0;
      position = std::isfinite(start) ? static_cast<int64_t>(host.time.samplePos) : 0;
      Render(441, 441);
    }
  };
  renderFrom(0, 1);
  EXPECT_TRUE(plug.GetSequencer().running);
  host.time.flags |= kVstPpqPosValid;  // no tempo: 120 it is, and no step plays twice
  renderFrom(host.time.samplePos, 30);
  EXPECT_EQ(std::count_if(hostNotes.begin(), hostNotes.end(),
                          [](const HostNote& note) { return note.status == 0x90; }),
            3);  // at 0, 5513 and 11025
  hostNotes.clear();
  host.time.flags |= kVstTempoValid;
  host.time.tempo = 120.0;
  renderFrom(1000, 20);
  EXPECT_NEAR(NextHostNoteOn(1000).sample, 5513, kPeriod);
  EXPECT_EQ(NextHostNoteOn(1000).key, 60);

  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  plug.SetParameterFromEditor(kSeqFrequency, 1.0);  // "1/64"
  for (double tempo : {0.0, nan, inf, 1e300, 1e-300}) {
    for (double where : {0.0, 1e18, inf, nan, -5.0}) {
      host.time.tempo = tempo;
      renderFrom(where, 3);
    }
  }
  host.time.flags = 0;
  renderFrom(0, 1);
  EXPECT_FALSE(plug.GetSequencer().running);
  ExpectHostNotesEnded();
}
