#include <algorithm>
#include <cmath>

#include "engine/Tarsyn7.h"
#include "engine/VoiceLanes.h"

namespace {

constexpr double kPitchBendScale = 1.0 / 8192.0;
constexpr double kOneOver127 = 1.0 / 127.0;
constexpr int kModWheel = 1;
constexpr int kBreath = 2;
constexpr int kSustain = 64;

bool IsNoteEvent(const MidiMessage& message) {
  const int group = message.StatusGroup();
  return group == 0x8 || group == 0x9 || (group == 0xB && message.data1 == kSustain);
}

}  // namespace

void Tarsyn7::RenderBlock(double** /*inputs*/, double** outputs, int frames) {
  if (frames <= 0) return;
  double* left = outputs[0];
  double* right = outputs[1];
  std::fill(left, left + frames, 0.0);
  std::fill(right, right + frames, 0.0);
  BeginSequencerBlock(frames);
  BeginBlock();
  footageMixes_.NewBlock();
  SendQueuedSysEx();
  for (int done = 0; done < frames;) {
    const int remaining = frames - done;
    int chunk;
    if (controlCounter_ <= 0) {
      ControlTick();
      chunk = std::min(remaining, controlPeriod_);
      if (chunk < controlPeriod_) controlCounter_ = controlPeriod_ - chunk;
    } else {
      chunk = std::min(remaining, controlCounter_);
      controlCounter_ -= chunk;
    }
    RenderChunk(left + done, right + done, chunk);
    done += chunk;
  }
  EndBlock();
}

// Queue offsets arrive counted from the block start, but the block's first tick only
// comes after the rest of the running control period. Notes due before that tick go to
// the note-event queue now, at their own sample; everything else is re-counted from
// that tick, so nothing sounds late.
void Tarsyn7::BeginBlock() {
  if (controlCounter_ <= 0) return;
  midiQueue_.MoveBefore(controlCounter_, IsNoteEvent, noteEvents_);
  midiQueue_.Shift(-controlCounter_);
}

// What stays queued counts from the next tick again; re-count it from the next block.
void Tarsyn7::EndBlock() {
  midiQueue_.Shift(std::max(controlCounter_, 0));
}

void Tarsyn7::ControlTick() {
  AdvanceSequencerClock(controlPeriod_);
  ProcessMidiQueue();
  mg_.Tick();
  mg_.AdvanceDelay(ActiveModel().mgDelayIncrement);
  double pitchOffset = 0.0;
  double vcfModulation = 0.0;
  if (legacy_) {
    ModulateLegacy(pitchOffset, vcfModulation);
  } else {
    Modulate(pitchOffset, vcfModulation);
  }
  performance_.vcfModulation = vcfModulation;
  UpdateVoices(pitchOffset, vcfModulation);
  output_.GetChorus().TickLfo();
}

// The playable voices, and those left sounding beyond a lowered voice count: they fade
// out by their release like every other voice.
void Tarsyn7::UpdateVoices(double pitchOffset, double vcfModulation) {
  activeCount_ = 0;
  for (int v = 0; v < kVoiceCount; ++v) {
    Voice& voice = voices_[static_cast<size_t>(v)];
    if (v >= voiceCount_ && !voice.Active()) continue;
    voice.VoiceControlUpdate(pitchOffset, vcfModulation);
    if (voice.Active()) activeVoices_[static_cast<size_t>(activeCount_++)] = v;
  }
}

void Tarsyn7::ProcessMidiQueue() {
  while (!midiQueue_.Empty() && midiQueue_.Peek().offset < controlPeriod_) {
    MidiMessage message = midiQueue_.Peek();
    midiQueue_.Advance();
    switch (message.StatusGroup()) {
      case 0x9:
        if (message.data2 == 0) message.status = 0x80;
        noteEvents_.Add(message);
        break;
      case 0x8:
        noteEvents_.Add(message);
        break;
      case 0xB:
        ApplyController(message);
        break;
      case 0xE: {
        const int bend = (message.data2 - 64) * 128 + message.data1;
        performance_.pitchBendOffset = bend * kPitchBendScale * bendRange_;
        break;
      }
      default:
        break;
    }
  }
  midiQueue_.Compact(controlPeriod_);
}

void Tarsyn7::ApplyController(const MidiMessage& message) {
  const double value = message.data2 * kOneOver127;
  switch (message.data1) {
    case kModWheel:
      performance_.modWheel = value;
      return;
    case kBreath:
      performance_.breath = value;
      return;
    case kSustain:
      noteEvents_.Add(message);
      return;
    default:
      break;
  }
  const int target = midiLearn_.Target(message.data1);
  const Parameter* parameter = GetParameter(target);
  if (!parameter || parameter->Normalized() == value) return;
  SetParameterFromEditor(target, value);
  if (IGraphics* editor = Editor()) editor->UpdateControlsForParameter(target, value, true);
}

// Current calibration: a sine MG faded in by the delay; the wheel blends from the MG
// depth towards full depth.
void Tarsyn7::Modulate(double& pitchOffset, double& vcfModulation) {
  const double sine = mg_.Sine() * mg_.Delay();
  const double pitchDepth = currentModel_.mgPitchDepth;
  const double wheelPitch = performance_.modWheel * wheelToPitch_ * pitchDepth;
  pitchOffset =
      ((pitchDepth - wheelPitch) * currentModel_.mgDcoAmount + wheelPitch) * sine + tuneOffset_;
  const double cutoffDepth = currentModel_.mgCutoffDepth;
  const double wheelCutoff = performance_.modWheel * wheelToCutoff_ * cutoffDepth;
  vcfModulation = ((cutoffDepth - wheelCutoff) * currentModel_.mgVcfAmount + wheelCutoff) * sine;
}

// Legacy calibration: a triangle MG held centred for most of the delay, ramping in over
// its last 5 %; the wheel (or breath, for the filter) takes over when it goes deeper.
void Tarsyn7::ModulateLegacy(double& pitchOffset, double& vcfModulation) {
  double fade = 0.0;
  if (mg_.Delay() < 0.95) {
    mg_.CentrePhase();
  } else {
    fade = (mg_.Delay() - 0.95) * 20.0;
  }
  double pitchDepth = fade * legacyModel_.mgDcoAmount;
  const double wheelPitch = performance_.modWheel * wheelToPitch_;
  if (wheelPitch > pitchDepth) {
    mg_.EndDelay();
    pitchDepth = wheelPitch;
  }
  pitchOffset = pitchDepth * legacyModel_.mgPitchDepth * mg_.Triangle() + tuneOffset_;
  double cutoffDepth = fade * legacyModel_.mgVcfAmount;
  const double source =
      configuration_.UseBreathController() ? performance_.breath : performance_.modWheel;
  const double wheelCutoff = source * wheelToCutoff_;
  if (wheelCutoff > cutoffDepth) {
    mg_.EndDelay();
    cutoffDepth = wheelCutoff;
  }
  vcfModulation = cutoffDepth * legacyModel_.mgCutoffDepth * mg_.Triangle();
}

// The chunk in runs of samples between note events; within a run no voice starts or
// stops, so the voices can be rendered a run at a time.
void Tarsyn7::RenderChunk(double* left, double* right, int frames) {
  for (int i = 0; i < frames;) {
    DispatchNoteEvents(i);
    const int run = oneVoiceAtATime_ ? 1 : RunLength(i, frames);
    double* sums = runSums_.data();
    const bool anyActive = oneVoiceAtATime_ ? SumVoicesOneByOne(sums[0]) : SumVoices(sums, run);
    for (int s = 0; s < run; ++s) {
      double sum = sums[s];
      const bool pathRuns = anyActive || (!godMode_ && globalPath_.Busy());
      if (pathRuns && !godMode_) sum = globalPath_.Process(sum, performance_.vcfModulation, noise_);
      output_.Process(sum, pathRuns, left[i + s], right[i + s]);
    }
    i += run;
  }
  noteEvents_.Compact(frames);
}

// Up to the next note event (all events up to `start` are dispatched).
int Tarsyn7::RunLength(int start, int frames) const {
  int end = std::min(frames, start + kMaxRun);
  if (!noteEvents_.Empty()) end = std::min(end, noteEvents_.Peek().offset);
  return end - start;
}

// Sounding voices only. Voices with their own filter all draw noise and the shared filter
// path none, or the other way round ("God Mode" switches all voices at once), so the
// noise sequence is shared out as in SumVoicesOneByOne.
bool Tarsyn7::SumVoices(double* sums, int frames) {
  Voice* filtering[kVoiceCount];
  Voice* plain[kVoiceCount];
  int filteringCount = 0;
  int plainCount = 0;
  for (int a = 0; a < activeCount_; ++a) {
    Voice& voice = voices_[static_cast<size_t>(activeVoices_[static_cast<size_t>(a)])];
    (voice.OwnFilter() ? filtering[filteringCount++] : plain[plainCount++]) = &voice;
  }
  std::fill(sums, sums + frames, 0.0);
  RenderVoices(plain, plainCount, noise_, sums, frames);
  RenderVoices(filtering, filteringCount, noise_, sums, frames);
  return activeCount_ > 0;
}

bool Tarsyn7::SumVoicesOneByOne(double& sum) {
  bool anyActive = false;
  sum = 0.0;
  for (Voice& voice : voices_) {
    anyActive = anyActive || voice.Active();
    sum += voice.RenderVoice();
  }
  return anyActive;
}

// Keeps the list in voice order, the order in which the voices are summed.
void Tarsyn7::MarkActive(int index) {
  int position = activeCount_++;
  for (; position > 0 && activeVoices_[static_cast<size_t>(position - 1)] > index; --position) {
    activeVoices_[static_cast<size_t>(position)] = activeVoices_[static_cast<size_t>(position - 1)];
  }
  activeVoices_[static_cast<size_t>(position)] = index;
}

void Tarsyn7::DispatchNoteEvents(int sample) {
  while (!noteEvents_.Empty() && noteEvents_.Peek().offset <= sample) {
    const MidiMessage event = noteEvents_.Peek();
    noteEvents_.Advance();
    switch (event.StatusGroup()) {
      case 0xB:
        SustainPedal(event.data2 > 0);
        break;
      case 0x8:
        NoteOff(event.data1);
        break;
      case 0x9:
        NoteOn(event.data1, event.data2);
        break;
      default:
        break;
    }
  }
}
