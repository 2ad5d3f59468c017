#include "engine/Synth.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/UserFolders.h"

namespace {

constexpr int kMidiQueueStartCapacity = 1024;
constexpr int kMidiQueueGranularity = 512;
constexpr const char* kChannelString = "1-0 0-2";

PlugIdentity Tarsyn7Identity() {
  return {
      "Tarsyn7", "", "Corvane Music", 0x00020501, FourCharacters("tsy7"), FourCharacters("CrVn")};
}

}  // namespace

Synth::Synth(HostCallback host)
    : IPlugVST(host, kParameterCount, kPresetCount, kChannelString, Tarsyn7Identity()),
      midiQueue_(kMidiQueueStartCapacity),
      configuration_(Configuration::StandardFilePath()) {
  OutputPin(0).label = "Tarsyn7 Left ";
  OutputPin(1).label = "Tarsyn7 Right ";
  editor_ = std::make_unique<IGraphics>(this, kEditorWidth, kEditorHeight);
  documentsFolder_ = DocumentsFolder();
  configuration_.SetProgramFilesFolder(documentsFolder_);
  configuration_.Read();
  lastFolder_ = configuration_.ProgramFilesFolder();
}

// A binding learned since the last idle tick still reaches the file.
Synth::~Synth() {
  WriteLearnedBindings();
}

void Synth::ResetProcessing() {
  std::lock_guard<ReentrantLock> guard(Lock());
  const int granularity = kMidiQueueGranularity;
  // Hosts announce block sizes; rendering never takes more than the scratch length at once.
  const int frames = std::clamp(BlockSize(), 0, kMaxScratchFrames);
  const int wanted = (frames + granularity - 1) / granularity * granularity;
  midiQueue_.Resize(std::max(wanted, midiQueue_.Size()));
  heldKeys_.Clear();
  controlCounter_ = 0;
  midiLearn_.Disarm();
  controlPeriod_ = std::max(static_cast<int>(SampleRate()) / 1000, 1);
}

// A rate the engine cannot run at (not a number, not positive, or beyond what any
// interface delivers) is refused; the last good rate stays in force.
void Synth::ChangeSampleRate(double rate) {
  if (std::isfinite(rate) && rate >= kLowestSampleRate && rate <= kHighestSampleRate) {
    IPlugVST::ChangeSampleRate(rate);
  }
}

void Synth::ParameterChanged(int index) {
  std::lock_guard<ReentrantLock> guard(Lock());
  if (reapplying_ == 0) midiLearn_.CaptureParameter(index);
}

void Synth::ActivationChanged(bool active) {
  std::lock_guard<ReentrantLock> guard(Lock());
  if (!active) return;
  Reapplication reapplication(*this);
  for (int i = 0; i < ParameterCount(); ++i) ParameterChanged(i);
}

void Synth::HandleMidiMessage(const MidiMessage&) {}

IGraphics* Synth::GetEditor() {
  return editor_.get();
}

void Synth::LoadProgram(int index) {
  std::lock_guard<ReentrantLock> guard(Lock());
  ModifyCurrentPreset();
  RecallPreset(index);
  HostProgramChanged();
  TellHostAllParameters();
}
