#include "engine/Tarsyn7.h"

#include <algorithm>
#include <mutex>

#include "control/ParameterIndex.h"

namespace {

constexpr int kNoteEventCapacity = 1024;
constexpr double kConstructionRate = 44100.0;
constexpr double kSmootherCorner = 40.0;

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
  // The current calibration gives vibrato the same full-scale depth as the legacy one.
  record.mgPitchDepth = 1537.0;
  record.mgCutoffDepth = 12289.0;
  record.chorusBase = 0.04;
  record.chorusRate = 0.13 * 0.13;
  record.chorusDepth = 0.75;
  return record;
}

}  // namespace

Tarsyn7::Tarsyn7(HostCallback host)
    : Synth(host), legacyModel_(LegacyRecord()), currentModel_(CurrentRecord()) {
  noteEvents_.reserve(kNoteEventCapacity);
  globalVcf_.SetSampleRate(cutoffs_, kConstructionRate);
  globalDeg3_.SetSampleRate(kConstructionRate);
  deg3Smoother_.Setup(kConstructionRate, kSmootherCorner);
  ReadConfiguration();  // again: some settings reach the engine's own members
  for (Voice& voice : voices_) {
    voice.SetOwner(this);
    voice.SetPerformance(&performance_);
  }
  DefineParameters();
  AttachEditor(GetEditor());
  if (startupBankPath_.empty() || !LoadBankFile(startupBankPath_)) {
    startupBankPath_.clear();
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
  performance_ = PerformanceValues{};
  stampCounter_ = 0;
  for (Voice& voice : voices_) {
    voice.SetPerformance(&performance_);
    voice.SetSampleRate(rate);
  }
  globalDeg3_.SetSampleRate(rate);
  // The shared filter is set up again too, so it takes this rate's coefficients at once
  // and stays at its cutoff.
  globalVcf_.SetSampleRate(cutoffs_, rate);
  mgIncrement_ = ActiveModel().mgPhaseIncrement;
  mgDelayLevel_ = 1.0;
  output_.SetSampleRate(rate);
  ApplyChorusModel();
  deg3Smoother_.Setup(rate, kSmootherCorner);
}

// The chorus follows the active calibration's base, depth and rate.
void Tarsyn7::ApplyChorusModel() {
  Chorus& chorus = output_.GetChorus();
  chorus.SetBase(ActiveModel().chorusBase);
  chorus.SetDepth(ActiveModel().chorusDepth * 0.2);
  chorus.SetRate(ActiveModel().chorusRate);
}

void Tarsyn7::ParameterChanged(int index) {
  std::lock_guard<ReentrantLock> guard(Lock());
  Synth::ParameterChanged(index);
  if (index == kDcoMode || index == kVoices) SetVoiceCount();
}

void Tarsyn7::RenderBlock(double** /*inputs*/, double** outputs, int frames) {
  if (frames <= 0) return;
  for (int channel = 0; channel < OutputCount(); ++channel) {
    if (outputs[channel]) std::fill(outputs[channel], outputs[channel] + frames, 0.0);
  }
}

void Tarsyn7::IdleTick() {}

void Tarsyn7::SetVoiceCount() {
  const bool sixtyFour = GetParameter(kVoices)->Normalized() >= 0.5;
  const bool doubleMode = GetParameter(kDcoMode)->Normalized() >= 0.5;
  const int count = sixtyFour ? kVoiceCount : (doubleMode ? 4 : 8);
  if (count == voiceCount_) return;
  voiceCount_ = count;
  if (!constructing_) ReleaseAllVoices();
}

double Tarsyn7::PitchIndexForKey(int key) const { return microtuning_.PitchIndexForKey(key); }

// Pedal up: voices whose key is no longer down are released.
void Tarsyn7::SustainPedal(bool down) {
  sustainPedal_ = down;
  for (int i = 0; i < voiceCount_; ++i) {
    Voice& voice = voices_[static_cast<size_t>(i)];
    voice.SetSustained(down);
    if (!voice.KeyHeld() && !down) voice.ForceRelease();
  }
  if (heldKeys_.empty() && !down) globalDeg3_.EnvelopeRelease();
}

// Every voice fades by its release; nothing is cut.
void Tarsyn7::ReleaseAllVoices() {
  heldKeys_.clear();
  noteEvents_.clear();
  SustainPedal(false);
  for (Voice& voice : voices_) voice.ForceRelease();
}
