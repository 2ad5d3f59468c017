#include "engine/Tarsyn7.h"

#include <mutex>

#include "control/ParameterIndex.h"

namespace {

constexpr int kNoteEventCapacity = 1024;
constexpr double kConstructionRate = 44100.0;

ModelRecord LegacyRecord() {
  ModelRecord record;
  record.mgPitchDepth = 1537.0;
  record.mgCutoffDepth = 13963.25;
  record.chorusBase = 0.36;
  record.chorusRate = 0.21 * 0.21;
  record.chorusDepth = 0.3;
  return record;
}

ModelRecord CurrentRecord() {
  ModelRecord record;
  // Vibrato and wheel vibrato reach the same full-scale depth as in the legacy calibration
  // (12 semitones at full "MG DCO"), so both controls work in both calibrations.
  record.mgPitchDepth = 1537.0;
  record.mgCutoffDepth = 12289.0;
  record.chorusBase = 0.04;
  record.chorusRate = 0.13 * 0.13;
  record.chorusDepth = 0.75;
  return record;
}

}  // namespace

Tarsyn7::Tarsyn7(HostCallback host)
    : Synth(host),
      legacyModel_(LegacyRecord()),
      currentModel_(CurrentRecord()),
      noteEvents_(kNoteEventCapacity) {
  for (Voice& voice : voices_) {
    voice.SetOwner(this);
    voice.SetPerformance(&performance_);
    voice.SetTables(increments_, cutoffs_);
    voice.SetFootageMixes(&footageMixes_);
    voice.SetNoise(&noise_);
    voice.SetSampleRate(kConstructionRate);  // playable before the host's first reset
  }
  globalPath_.SetSampleRate(cutoffs_, kConstructionRate);
  DefineParameters();
  panel_ = BuildEditor(*GetEditor(), this, *this);
  AttachEditor(GetEditor());
  // A startup bank that fails to load is forgotten for this instance only: the file keeps
  // the user's choice.
  if (Settings().StartupBank().empty() || !LoadBankFile(Settings().StartupBank())) {
    configuration_.SetStartupBank("");
    LoadFactoryBank("PROGINIT", "LEGACY");
  }
  ReleaseAllVoices();
  constructing_ = false;
}

Tarsyn7::~Tarsyn7() = default;

void Tarsyn7::ResetProcessing() {
  std::lock_guard<ReentrantLock> guard(Lock());
  Synth::ResetProcessing();
  const double rate = SampleRate();
  if (rate == lastSampleRate_) return;
  lastSampleRate_ = rate;
  ResetSequencer();
  performance_ = PerformanceValues{};
  stampCounter_ = 0;
  for (Voice& voice : voices_) voice.SetSampleRate(rate);
  activeCount_ = 0;
  // The shared filter is set up again too, so it takes this rate's coefficients at once
  // and stays at its cutoff.
  globalPath_.SetSampleRate(cutoffs_, rate);
  mg_.SetIncrement(ActiveModel().mgPhaseIncrement);
  mg_.EndDelay();
  output_.SetSampleRate(rate);
  ApplyChorusModel();
}

// The chorus follows the active calibration's base, depth and rate.
void Tarsyn7::ApplyChorusModel() {
  Chorus& chorus = output_.GetChorus();
  chorus.SetBase(ActiveModel().chorusBase);
  chorus.SetDepth(ActiveModel().chorusDepth * 0.2);
  chorus.SetRate(ActiveModel().chorusRate);
}

void Tarsyn7::SetVoiceCount() {
  const int count = sixtyFourVoices_ ? kVoiceCount : (doubleDco_ ? 4 : 8);
  if (count == voiceCount_) return;
  voiceCount_ = count;
  if (!constructing_) ReleaseAllVoices();
}

double Tarsyn7::PitchIndexForKey(int key) const {
  return microtuning_.PitchIndexForKey(key);
}

// Every voice fades by its release; nothing is cut.
void Tarsyn7::ReleaseAllVoices() {
  heldKeys_.Clear();
  noteEvents_.Clear();
  SustainPedal(false);
  for (Voice& voice : voices_) voice.ForceRelease();
}
