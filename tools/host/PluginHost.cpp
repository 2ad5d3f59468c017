#include "tools/host/PluginHost.h"

#include <algorithm>
#include <cstring>

#include "tools/host/RenderError.h"

namespace {

constexpr int kTextBuffer = 256;  // larger than any text a plug-in may write
constexpr int kHostTextLimit = 64;
constexpr VstIntPtr kAutomationOff = 1;
constexpr VstIntPtr kLanguageEnglish = 1;

// The host's capabilities the plug-in may ask about.
constexpr const char* kHostCanDo[] = {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo",
                                      "receiveVstEvents", "receiveVstMidiEvent"};

// The plug-in being created: its calls reach the host before the record is returned.
thread_local PluginHost* constructing = nullptr;

VstIntPtr CopyHostText(void* ptr, const char* text) {
  if (!ptr) return 0;
  std::strncpy(static_cast<char*>(ptr), text, kHostTextLimit - 1);
  static_cast<char*>(ptr)[kHostTextLimit - 1] = '\0';
  return 1;
}

// Bytes of a MIDI message starting with `status`.
int MessageLength(uint8_t status) {
  if (status < 0xF0) return (status >> 4) == 0xC || (status >> 4) == 0xD ? 2 : 3;
  if (status == 0xF2) return 3;
  return status == 0xF1 || status == 0xF3 ? 2 : 1;
}

}  // namespace

PluginHost::PluginHost(const std::string& path)
    : library_(std::make_unique<PluginLibrary>(path)), folder_(library_->Folder()) {
  constructing = this;
  effect_ = library_->Entry()(&PluginHost::Callback);
  constructing = nullptr;
  if (!effect_) throw RenderError(path + ": the plug-in refused to start");
  if (effect_->magic != kEffectMagic) {
    effect_ = nullptr;  // not ours to close
    throw RenderError(path + ": not a VST 2 plug-in (its record lacks the VstP mark)");
  }
  effect_->resvd1 = reinterpret_cast<VstIntPtr>(this);  // the host's own field
  if (effect_->numOutputs < 1) {
    Dispatch(effClose);
    effect_ = nullptr;
    throw RenderError(path + ": the plug-in has no audio outputs");
  }
  Dispatch(effOpen);
}

PluginHost::~PluginHost() {
  if (!effect_) return;
  Suspend();
  Dispatch(effClose);
}

VstIntPtr PluginHost::Dispatch(int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                               float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

VstIntPtr VST_CALLBACK PluginHost::Callback(AEffect* effect, int32_t opcode, int32_t index,
                                            VstIntPtr, void* ptr, float) {
  auto* host =
      effect && effect->resvd1 ? reinterpret_cast<PluginHost*>(effect->resvd1) : constructing;
  if (opcode == audioMasterVersion) return kVstVersion;
  return host ? host->Answer(opcode, index, ptr) : 0;
}

VstIntPtr PluginHost::Answer(int32_t opcode, int32_t, void* ptr) {
  switch (opcode) {
    case audioMasterCurrentId:
      return effect_ ? effect_->uniqueID : 0;
    case audioMasterWantMidi:
      return 1;
    case audioMasterGetTime:
      return reinterpret_cast<VstIntPtr>(&time_);
    case audioMasterProcessEvents:
      return Collect(static_cast<const VstEvents*>(ptr));
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(sampleRate_);
    case audioMasterGetBlockSize:
      return blockSize_;
    case audioMasterGetCurrentProcessLevel:
      return kProcessLevelOffline;
    case audioMasterGetAutomationState:
      return kAutomationOff;
    case audioMasterGetVendorString:
      return CopyHostText(ptr, kVendor);
    case audioMasterGetProductString:
      return CopyHostText(ptr, kProduct);
    case audioMasterGetVendorVersion:
      return kVersion;
    case audioMasterCanDo:
      if (!ptr) return 0;
      for (const char* can : kHostCanDo) {
        if (std::strcmp(static_cast<const char*>(ptr), can) == 0) return 1;
      }
      return 0;
    case audioMasterGetLanguage:
      return kLanguageEnglish;
    case audioMasterGetDirectory:
      return reinterpret_cast<VstIntPtr>(folder_.c_str());
    case audioMasterUpdateDisplay:
      return 1;
    default:
      return 0;
  }
}

VstIntPtr PluginHost::Collect(const VstEvents* events) {
  if (!events) return 0;
  for (int32_t i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = EventSlots(events)[i];
    if (!event) continue;
    SentEvent copy{event->deltaFrames, {}};
    if (event->type == kVstMidiType) {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      const auto status = static_cast<uint8_t>(midi->midiData[0]);
      if (status < 0x80) continue;
      copy.bytes.assign(midi->midiData, midi->midiData + MessageLength(status));
    } else if (event->type == kVstSysExType) {
      const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      if (!sysex->sysexDump || sysex->dumpBytes <= 0) continue;
      copy.bytes.assign(sysex->sysexDump, sysex->sysexDump + sysex->dumpBytes);
    } else {
      continue;
    }
    sent_.push_back(std::move(copy));
  }
  return 1;
}

std::string PluginHost::Text(int32_t opcode, int32_t index) {
  char text[kTextBuffer] = {};
  Dispatch(opcode, index, 0, text);
  text[kTextBuffer - 1] = '\0';
  return text;
}

std::string PluginHost::ParameterName(int index) {
  return Text(effGetParamName, index);
}

std::string PluginHost::ParameterDisplay(int index) {
  return Text(effGetParamDisplay, index);
}

std::string PluginHost::ParameterLabel(int index) {
  return Text(effGetParamLabel, index);
}

float PluginHost::GetParameter(int index) {
  return effect_->getParameter(effect_, index);
}

void PluginHost::SetParameter(int index, float normalized) {
  effect_->setParameter(effect_, index, normalized);
}

std::string PluginHost::ProgramName(int index) {
  char text[kTextBuffer] = {};
  Dispatch(effGetProgramNameIndexed, index, -1, text);
  text[kTextBuffer - 1] = '\0';
  return text;
}

int PluginHost::CurrentProgram() {
  return static_cast<int>(Dispatch(effGetProgram));
}

void PluginHost::SetProgram(int index) {
  Dispatch(effSetProgram, 0, index);
}

void PluginHost::Prepare(double sampleRate, int maxBlockSize) {
  sampleRate_ = sampleRate;
  blockSize_ = maxBlockSize;
  Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(effSetBlockSize, 0, maxBlockSize);
  const size_t pins = static_cast<size_t>(std::max(effect_->numInputs, 0) + effect_->numOutputs);
  const size_t frames = static_cast<size_t>(maxBlockSize);
  floatBuffers_.assign(pins, std::vector<float>(frames));
  doubleBuffers_.assign(pins, std::vector<double>(frames));
  floatPointers_.clear();
  doublePointers_.clear();
  for (size_t pin = 0; pin < pins; ++pin) {
    floatPointers_.push_back(floatBuffers_[pin].data());
    doublePointers_.push_back(doubleBuffers_[pin].data());
  }
  left_.assign(frames, 0.0);
  right_.assign(frames, 0.0);
}

void PluginHost::Resume() {
  if (resumed_) return;
  Dispatch(effMainsChanged, 0, 1);
  resumed_ = true;
}

void PluginHost::Suspend() {
  if (!resumed_) return;
  Dispatch(effMainsChanged, 0, 0);
  resumed_ = false;
}

void PluginHost::SendEvents(const std::vector<const MidiEvent*>& events,
                            const std::vector<int32_t>& offsets) {
  midiEvents_.clear();
  sysexEvents_.clear();
  for (size_t i = 0; i < events.size(); ++i) {
    const MidiEvent& event = *events[i];
    if (event.IsChannelMessage()) {
      VstMidiEvent midi{};
      midi.type = kVstMidiType;
      midi.byteSize = sizeof(VstMidiEvent);
      midi.deltaFrames = offsets[i];
      std::copy_n(event.bytes.begin(), std::min<size_t>(event.bytes.size(), 3), midi.midiData);
      midiEvents_.push_back(midi);
    } else {
      VstMidiSysexEvent sysex{};
      sysex.type = kVstSysExType;
      sysex.byteSize = sizeof(VstMidiSysexEvent);
      sysex.deltaFrames = offsets[i];
      sysex.dumpBytes = static_cast<int32_t>(event.bytes.size());
      sysex.sysexDump = reinterpret_cast<char*>(const_cast<uint8_t*>(event.bytes.data()));
      sysexEvents_.push_back(sysex);
    }
  }
  // The list: count, reserved word, then one pointer per event, in the song's order.
  const size_t header = offsetof(VstEvents, events) / sizeof(VstIntPtr);
  eventList_.assign(header + std::max<size_t>(events.size(), 2), 0);
  auto* list = reinterpret_cast<VstEvents*>(eventList_.data());
  list->numEvents = static_cast<int32_t>(events.size());
  size_t midi = 0;
  size_t sysex = 0;
  for (size_t i = 0; i < events.size(); ++i) {
    EventSlots(list)[i] = events[i]->IsChannelMessage()
                              ? reinterpret_cast<VstEvent*>(&midiEvents_[midi++])
                              : reinterpret_cast<VstEvent*>(&sysexEvents_[sysex++]);
  }
  Dispatch(effProcessEvents, 0, 0, list);
}

void PluginHost::Process(int frames, bool doublePrecision) {
  const size_t inputs = static_cast<size_t>(std::max(effect_->numInputs, 0));
  const size_t count = static_cast<size_t>(frames);
  const size_t rightPin = inputs + (effect_->numOutputs > 1 ? 1 : 0);
  if (doublePrecision) {
    for (std::vector<double>& buffer : doubleBuffers_) std::fill_n(buffer.begin(), count, 0.0);
    double** pointers = doublePointers_.data();
    effect_->processDoubleReplacing(effect_, pointers, pointers + inputs, frames);
    std::copy_n(doubleBuffers_[inputs].begin(), count, left_.begin());
    std::copy_n(doubleBuffers_[rightPin].begin(), count, right_.begin());
    return;
  }
  for (std::vector<float>& buffer : floatBuffers_) std::fill_n(buffer.begin(), count, 0.0f);
  float** pointers = floatPointers_.data();
  // Plug-ins without the replacing call add to the zeroed buffers instead.
  const ProcessProc process = effect_->flags & effFlagsCanReplacing && effect_->processReplacing
                                  ? effect_->processReplacing
                                  : effect_->process;
  process(effect_, pointers, pointers + inputs, frames);
  std::copy_n(floatBuffers_[inputs].begin(), count, left_.begin());
  std::copy_n(floatBuffers_[rightPin].begin(), count, right_.begin());
}

std::vector<SentEvent> PluginHost::TakeSentEvents() {
  std::vector<SentEvent> taken;
  taken.swap(sent_);
  return taken;
}
