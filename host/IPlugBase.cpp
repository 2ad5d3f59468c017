#include "host/IPlugBase.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <sstream>
#include <utility>

#include "editor/IGraphics.h"
#include "programs/StateRecord.h"

namespace {

constexpr const char* kUserPresetName = "user preset";

// Reads one slot of a bank into `preset`; a stored state goes through the live state so
// the slot keeps the current form of the record. A record already in that form is kept
// byte for byte, so a bank saved again after loading is the same file.
int ReadPresetSlot(IPlugBase& plug, const ChunkBuffer& chunk, int position, Preset& preset) {
  std::string name;
  uint8_t initialised = 0;
  position = chunk.GetString(name, position);
  position = chunk.GetByte(initialised, position);
  if (position < 0) return position;
  preset.SetName(name);
  preset.initialised = initialised != 0;
  if (!preset.initialised) return position;
  const int start = position;
  position = plug.ReadState(chunk, position);
  if (position <= 0) return position;
  const bool currentForm =
      std::memcmp(chunk.Data() + start, StateRecord::kMarker, StateRecord::kMarkerLength) == 0;
  const bool stored = currentForm ? preset.state.PutBytes(chunk.Data() + start, position - start) ==
                                        position - start
                                  : plug.WriteState(preset.state);
  return stored ? position : -1;
}

}  // namespace

IPlugBase::IPlugBase(int parameterCount, int presetCount, const char* channelString,
                     const PlugIdentity& identity)
    : identity_(identity),
      parameters_(static_cast<size_t>(std::max(parameterCount, 0))),
      presets_(static_cast<size_t>(std::max(presetCount, 0))) {
  ParseChannelString(channelString);
  CreatePins();
}

IPlugBase::~IPlugBase() = default;

// "1-0 0-2": space-separated input-output pairs; a part that does not parse gives 0
// for the missing numbers.
void IPlugBase::ParseChannelString(const char* channelString) {
  std::istringstream parts(channelString ? channelString : "");
  std::string part;
  while (parts >> part) {
    int inputs = 0;
    int outputs = 0;
    std::sscanf(part.c_str(), "%d-%d", &inputs, &outputs);
    channelPairs_.emplace_back(inputs, outputs);
  }
}

void IPlugBase::CreatePins() {
  int inputs = 0;
  int outputs = 0;
  for (const auto& pair : channelPairs_) {
    inputs = std::max(inputs, pair.first);
    outputs = std::max(outputs, pair.second);
  }
  inputPins_.resize(static_cast<size_t>(inputs));
  outputPins_.resize(static_cast<size_t>(outputs));
  inputPointers_.assign(inputPins_.size(), nullptr);
  outputPointers_.assign(outputPins_.size(), nullptr);
  for (size_t i = 0; i < inputPins_.size(); ++i) inputPins_[i].slot = &inputPointers_[i];
  for (size_t i = 0; i < outputPins_.size(); ++i) outputPins_[i].slot = &outputPointers_[i];
}

bool IPlugBase::LegalIO(int inputs, int outputs) const {
  return std::any_of(channelPairs_.begin(), channelPairs_.end(), [&](const auto& pair) {
    return pair.first == inputs && (outputs == -1 || pair.second == outputs);
  });
}

void IPlugBase::ResetProcessing() {
  std::lock_guard<ReentrantLock> guard(lock_);
}

void IPlugBase::ParameterChanged(int) {}

// Passes each input to the output of the same index; outputs without an input are silent.
void IPlugBase::RenderBlock(double** inputs, double** outputs, int frames) {
  if (frames <= 0) return;
  const size_t count = static_cast<size_t>(frames);
  for (int i = 0; i < OutputCount(); ++i) {
    if (!outputs[i]) continue;
    if (i < InputCount() && inputs[i]) {
      std::memmove(outputs[i], inputs[i], count * sizeof(double));
    } else {
      std::fill(outputs[i], outputs[i] + count, 0.0);
    }
  }
}

void IPlugBase::ActivationChanged(bool) {}

void IPlugBase::HandleMidiMessage(const MidiMessage& message) {
  SendMidi(message);
}

void IPlugBase::HandleSysEx(const SysExMessage&) {}

bool IPlugBase::NameOfKey(int, std::string& text) {
  text.clear();
  return false;
}

bool IPlugBase::WriteState(ChunkBuffer& chunk) {
  return SerializeParams(chunk);
}

int IPlugBase::ReadState(const ChunkBuffer& chunk, int position) {
  return UnserializeParams(chunk, position);
}

bool IPlugBase::SerializeParams(ChunkBuffer& chunk) {
  std::lock_guard<ReentrantLock> guard(lock_);
  bool grew = true;
  for (const Parameter& parameter : parameters_) {
    const int before = chunk.Size();
    grew = grew && chunk.PutDouble(parameter.Value()) > before;
  }
  return grew;
}

int IPlugBase::UnserializeParams(const ChunkBuffer& chunk, int position) {
  std::lock_guard<ReentrantLock> guard(lock_);
  for (int i = 0; i < ParameterCount() && position >= 0; ++i) {
    double value = 0.0;
    position = chunk.GetDouble(value, position);
    if (position >= 0)
      parameters_[static_cast<size_t>(i)].Set(parameters_[static_cast<size_t>(i)].Clamp(value));
  }
  for (int i = 0; i < ParameterCount(); ++i) ParameterChanged(i);
  return position;
}

// Compares in single precision: stored states come from hosts that keep floats.
bool IPlugBase::StateMatches(const ChunkBuffer& chunk, int position) {
  for (const Parameter& parameter : parameters_) {
    double stored = 0.0;
    position = chunk.GetDouble(stored, position);
    if (position < 0) return false;
    const float difference = static_cast<float>(parameter.Value()) - static_cast<float>(stored);
    if (!(std::fabs(difference) < 1e-5f)) return false;
  }
  return true;
}

void IPlugBase::SetParameterFromEditor(int index, double normalized) {
  std::lock_guard<ReentrantLock> guard(lock_);
  Parameter* parameter = GetParameter(index);
  if (!parameter) return;
  parameter->SetNormalized(normalized);
  HostParameterChanged(index, normalized);
  ParameterChanged(index);
}

int IPlugBase::IdentifyHost() {
  return hostKind_;
}

void IPlugBase::AttachEditor(IGraphics* editor) {
  std::lock_guard<ReentrantLock> guard(lock_);
  if (editor) {
    for (int i = 0; i < ParameterCount(); ++i) {
      editor->SetControlsFromParameter(i, parameters_[static_cast<size_t>(i)].Normalized());
    }
    editor->PrepareDraw();
  }
  editor_ = editor;
}

void IPlugBase::SetProcessingDelay(int frames) {
  latency_ = std::max(frames, 0);
}

void IPlugBase::RefreshControls() {
  if (!editor_) return;
  for (int i = 0; i < ParameterCount(); ++i) {
    editor_->UpdateControlsForParameter(i, parameters_[static_cast<size_t>(i)].Value(), false);
  }
}

Parameter* IPlugBase::GetParameter(int index) {
  return index >= 0 && index < ParameterCount() ? &parameters_[static_cast<size_t>(index)]
                                                : nullptr;
}

const Parameter* IPlugBase::GetParameter(int index) const {
  return index >= 0 && index < ParameterCount() ? &parameters_[static_cast<size_t>(index)]
                                                : nullptr;
}

std::string IPlugBase::ParameterDisplayText(int index) const {
  const Parameter* parameter = GetParameter(index);
  return parameter ? parameter->DisplayText() : std::string();
}

void IPlugBase::TellHostAllParameters() {
  std::lock_guard<ReentrantLock> guard(lock_);
  for (int i = 0; i < ParameterCount(); ++i) {
    HostParameterChanged(i, parameters_[static_cast<size_t>(i)].Normalized());
  }
}

Preset* IPlugBase::GetPreset(int index) {
  return index >= 0 && index < PresetCount() ? &presets_[static_cast<size_t>(index)] : nullptr;
}

std::string IPlugBase::PresetName(int index) const {
  return index >= 0 && index < PresetCount() ? presets_[static_cast<size_t>(index)].name
                                             : std::string();
}

bool IPlugBase::RecallPreset(int index) {
  std::lock_guard<ReentrantLock> guard(lock_);
  Preset* preset = GetPreset(index);
  if (!preset) return false;
  bool recalled = false;
  if (preset->initialised) {
    recalled = ReadState(preset->state, 0) > 0;
  } else {
    const auto named = std::count_if(presets_.begin(), presets_.end(), [](const Preset& other) {
      return other.name.find(kUserPresetName) != std::string::npos;
    });
    preset->SetName(std::string(kUserPresetName) + " " + std::to_string(named + 1));
    preset->state.Clear();
    recalled = preset->initialised = WriteState(preset->state);
  }
  if (recalled) {
    currentPreset_ = index;
    ProgramListChanged();
    RefreshControls();
  }
  return recalled;
}

void IPlugBase::ModifyCurrentPreset(const char* name) {
  std::lock_guard<ReentrantLock> guard(lock_);
  Preset* preset = GetPreset(currentPreset_);
  ChunkBuffer state;
  if (!preset || !WriteState(state)) return;  // a failed write keeps what the slot held
  preset->state = std::move(state);
  preset->initialised = true;
  if (name && name[0] != '\0') preset->SetName(name);
}

bool IPlugBase::SerializePresets(ChunkBuffer& chunk) {
  std::lock_guard<ReentrantLock> guard(lock_);
  for (const Preset& preset : presets_) {
    const int before = chunk.Size();
    chunk.PutString(preset.name);
    chunk.PutByte(preset.initialised ? 1 : 0);
    if (preset.initialised) chunk.PutChunk(preset.state);
    if (chunk.Size() <= before) return false;
  }
  return true;
}

// A bank replaces all slots or none: the slots are read into new ones, and when the
// bank is cut short or damaged the old slots and the live state are kept.
int IPlugBase::UnserializePresets(const ChunkBuffer& chunk, int position) {
  std::lock_guard<ReentrantLock> guard(lock_);
  ChunkBuffer live;
  if (!WriteState(live)) return -1;
  std::vector<Preset> incoming(presets_.size());
  for (Preset& preset : incoming) {
    position = ReadPresetSlot(*this, chunk, position, preset);
    if (position < 0) break;
  }
  if (position < 0) {
    ReadState(live, 0);
    return position;
  }
  presets_.swap(incoming);
  RecallPreset(currentPreset_);
  return position;
}

void IPlugBase::ChangeSampleRate(double rate) {
  sampleRate_ = rate;
}

// The scratch buffers are replaced only when the new ones could be had, so a failed
// allocation leaves the old size in force. They never grow past kMaxScratchFrames: the
// audio callbacks render longer blocks in slices, so an absurd block size announced by a
// host costs no memory.
void IPlugBase::ChangeBlockSize(int frames) {
  if (frames == blockSize_) return;
  const int scratchFrames = std::clamp(frames, 1, kMaxScratchFrames);
  std::vector<std::vector<double>> buffers;
  try {
    buffers.assign(inputPins_.size() + outputPins_.size(),
                   std::vector<double>(static_cast<size_t>(scratchFrames), 0.0));
  } catch (const std::bad_alloc&) {
    return;
  }
  auto buffer = buffers.begin();
  for (ChannelPin& pin : inputPins_) (buffer++)->swap(pin.scratch);
  for (ChannelPin& pin : outputPins_) (buffer++)->swap(pin.scratch);
  blockSize_ = frames;
  scratchFrames_ = scratchFrames;
}
