#include "host/IPlugVST.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>

#include "editor/IGraphics.h"
#include "host/VSTCallbacks.h"

namespace {

constexpr int kHostStringLength = 256;

struct HostName {
  const char* substring;
  int kind;
};

// First match wins, so the order matters ("live" would otherwise catch others).
constexpr HostName kHostNames[] = {
    {"cubase", 3},      {"reaper", 1},      {"nuendo", 4},
    {"cakewalk", 5},    {"samplitude", 8},  {"fruity", 7},
    {"live", 9},        {"melodyne", 12},   {"vstmanlib", 13},
    {"aulab", 14},      {"garageband", 22}, {"forte", 15},
    {"chainer", 16},    {"audition", 17},   {"orion", 18},
    {"sawstudio", 20},  {"logic", 21},      {"digital", 23},
    {"audiomulch", 25}, {"presonus", 26},   {"vst3plugintesthost", 27},
    {"protools", 2},    {"ardour", 28},     {"openmpt", 30},
    {"renoise", 29},    {"standalone", 24},
};

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

int HostKindOf(const std::string& product) {
  const std::string lower = LowerCase(product);
  for (const HostName& name : kHostNames) {
    if (lower.find(name.substring) != std::string::npos) return name.kind;
  }
  return 0;
}

// Hosts that handle only the first two channels of each direction.
bool IsStereoOnlyHost(int kind) {
  return kind == 15 || kind == 17 || kind == 18 || kind == 20;
}

int32_t ArrangementType(int channels) {
  switch (channels) {
    case 0:
      return kSpeakerArrEmpty;
    case 1:
      return kSpeakerArrMono;
    case 2:
      return kSpeakerArrStereo;
    default:
      return kSpeakerArrUserDefined;
  }
}

void DescribeArrangement(VstSpeakerArrangement& arrangement, int channels) {
  arrangement = VstSpeakerArrangement{};
  arrangement.numChannels = channels;
  arrangement.type = ArrangementType(channels);
}

// Pins from `channels` on are disconnected; the audio callbacks let them render into
// their own scratch buffers, which start silent.
void ConnectFirst(ChannelPin& pin, int index, int channels) {
  const bool connected = index < channels;
  if (pin.connected && !connected) std::fill(pin.scratch.begin(), pin.scratch.end(), 0.0);
  pin.connected = connected;
}

}  // namespace

IPlugVST::IPlugVST(HostCallback host, int parameterCount, int presetCount,
                   const char* channelString, const PlugIdentity& identity)
    : IPlugBase(parameterCount, presetCount, channelString, identity), host_(host) {
  FillEffect();
  DescribePins();
  ChangeBlockSize(1024);
}

IPlugVST::~IPlugVST() = default;

void IPlugVST::FillEffect() {
  effect_.magic = kEffectMagic;
  effect_.dispatcher = &VSTDispatcher;
  effect_.process = &VSTProcess;
  effect_.setParameter = &VSTSetParameter;
  effect_.getParameter = &VSTGetParameter;
  effect_.numPrograms = PresetCount();
  effect_.numParams = ParameterCount();
  effect_.flags = effFlagsCanReplacing | effFlagsProgramChunks | effFlagsCanDoubleReplacing;
  if (LegalIO(1, -1)) effect_.flags |= effFlagsCanMono;
  if (IsInstrument()) effect_.flags |= effFlagsIsSynth;
  effect_.ioRatio = 1.0f;
  effect_.object = this;
  effect_.uniqueID = Identity().uniqueId;
  effect_.version = VstVersion();
  effect_.processReplacing = &VSTProcessReplacing;
  effect_.processDoubleReplacing = &VSTProcessDoubleReplacing;
}

int32_t IPlugVST::VstVersion() const {
  const int32_t version = Identity().version;
  return ((version >> 16) & 0xFFFF) * 10000 + ((version >> 8) & 0xFF) * 100 + (version & 0xFF);
}

VstIntPtr IPlugVST::CallHost(int32_t opcode, int32_t index, VstIntPtr value, void* ptr, float opt) {
  // After effClose the host no longer knows this effect, even while a deferred deletion waits.
  if (!host_ || deletionRequested_) return 0;
  return host_(&effect_, opcode, index, value, ptr, opt);
}

const VstTimeInfo* IPlugVST::HostTimeInfo(int32_t filter) {
  return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, filter));
}

void IPlugVST::HostBeginGesture(int index) {
  CallHost(audioMasterBeginEdit, index);
}

void IPlugVST::HostParameterChanged(int index, double normalized) {
  CallHost(audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void IPlugVST::HostEndGesture(int index) {
  CallHost(audioMasterEndEdit, index);
}

void IPlugVST::HostProgramChanged() {
  CallHost(audioMasterUpdateDisplay);
}

bool IPlugVST::HostIsOffline() {
  return CallHost(audioMasterGetCurrentProcessLevel) == kProcessLevelOffline;
}

double IPlugVST::HostSamplePosition() {
  const VstTimeInfo* info = HostTimeInfo(0);
  return info && info->samplePos >= 0.0 ? std::floor(info->samplePos + 0.5) : 0.0;
}

double IPlugVST::HostTempo() {
  const VstTimeInfo* info = HostTimeInfo(kVstTempoValid);
  return info && (info->flags & kVstTempoValid) && info->tempo >= 0.0 ? info->tempo : 0.0;
}

void IPlugVST::HostTimeSignature(int& numerator, int& denominator) {
  numerator = denominator = 0;
  const VstTimeInfo* info = HostTimeInfo(kVstTimeSigValid);
  if (info && (info->flags & kVstTimeSigValid) && info->timeSigNumerator >= 0 &&
      info->timeSigDenominator >= 0) {
    numerator = info->timeSigNumerator;
    denominator = info->timeSigDenominator;
  }
}

// Fields whose validity test fails keep what they held. The sample position and the
// transport state need no flag, so a host that gives only those is still followed.
void IPlugVST::ReadHostTime(TimeInfo& time) {
  constexpr int32_t kWanted =
      kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;
  const VstTimeInfo* info = HostTimeInfo(kWanted);
  if (!info) return;
  time.samplePosition = info->samplePos;
  if ((info->flags & kVstPpqPosValid) && info->ppqPos >= 0.0) time.ppqPosition = info->ppqPos;
  if ((info->flags & kVstTempoValid) && info->tempo > 0.0) time.tempo = info->tempo;
  if ((info->flags & kVstBarsValid) && info->barStartPos >= 0.0) time.lastBar = info->barStartPos;
  if ((info->flags & kVstCyclePosValid) && info->cycleStartPos >= 0.0 && info->cycleEndPos >= 0.0) {
    time.cycleStart = info->cycleStartPos;
    time.cycleEnd = info->cycleEndPos;
  }
  if ((info->flags & kVstTimeSigValid) && info->timeSigNumerator > 0 &&
      info->timeSigDenominator > 0) {
    time.numerator = info->timeSigNumerator;
    time.denominator = info->timeSigDenominator;
  }
  time.playing = (info->flags & kVstTransportPlaying) != 0;
  time.looping = (info->flags & kVstTransportCycleActive) != 0;
}

int IPlugVST::IdentifyHost() {
  if (hostKind_ >= 0) return hostKind_;
  char product[kHostStringLength] = {};
  CallHost(audioMasterGetProductString, 0, 0, product);
  product[kHostStringLength - 1] = '\0';
  if (product[0] != '\0') {
    // Unsigned: a host may answer any number, also a negative one.
    const auto version = static_cast<uint32_t>(CallHost(audioMasterGetVendorVersion));
    hostVersion_ = static_cast<int>(((version / 10000) << 16) | (((version % 10000) / 100) << 8) |
                                    (version % 100));
  }
  hostKind_ = HostKindOf(product);
  return hostKind_;
}

void IPlugVST::EditorResized(int width, int height) {
  editorRect_.top = editorRect_.left = 0;
  editorRect_.bottom = static_cast<int16_t>(height);
  editorRect_.right = static_cast<int16_t>(width);
}

bool IPlugVST::IsSpecialHost() {
  if (specialHost_ < 0) {
    char vendor[kHostStringLength] = {};
    CallHost(audioMasterGetVendorString, 0, 0, vendor);
    vendor[kHostStringLength - 1] = '\0';
    const std::string lower = LowerCase(vendor);
    specialHost_ = lower == "native instruments" || lower == "juce vst host";
  }
  return specialHost_ != 0;
}

void IPlugVST::HostOpened() {
  if (opened_) return;
  opened_ = true;
  if (IsStereoOnlyHost(IdentifyHost())) {
    for (int i = 2; i < InputCount(); ++i) InputPin(i).connected = false;
    for (int i = 2; i < OutputCount(); ++i) OutputPin(i).connected = true;
  }
  DescribePins();
  AfterHostOpened();
}

void IPlugVST::DescribePins() {
  DescribeArrangement(inputArrangement_, InputCount());
  DescribeArrangement(outputArrangement_, OutputCount());
  effect_.numInputs = InputCount();
  effect_.numOutputs = OutputCount();
}

void IPlugVST::ConnectPins(const VstSpeakerArrangement* inputs,
                           const VstSpeakerArrangement* outputs) {
  for (int i = 0; inputs && i < InputCount(); ++i) {
    ConnectFirst(InputPin(i), i, inputs->numChannels);
  }
  for (int i = 0; outputs && i < OutputCount(); ++i) {
    ConnectFirst(OutputPin(i), i, outputs->numChannels);
  }
}

void IPlugVST::WantMidi() {
  CallHost(audioMasterWantMidi);
}

void IPlugVST::AttachEditor(IGraphics* editor) {
  IPlugBase::AttachEditor(editor);
  if (!OffersEditor()) return;
  effect_.flags |= effFlagsHasEditor;
  EditorResized(editor->Width(), editor->Height());
}

bool IPlugVST::OpenEditor(void* parent) {
  if (!OffersEditor() || window_) return false;
  return OpenEditorIn(OpenEditorWindow(*Editor(), parent));
}

bool IPlugVST::OpenEditorIn(std::unique_ptr<EditorWindow> window) {
  if (!OffersEditor() || window_ || !window) return false;
  window_ = std::move(window);
  Editor()->OpenWindow(window_.get());
  EditorOpened();
  return true;
}

void IPlugVST::CloseEditor() {
  if (!window_) return;
  Editor()->CloseWindow();
  if (Editor()->InModalCall()) {
    closedWindow_ = std::move(window_);  // its dialog's loop is still running
  } else {
    window_.reset();
  }
  EditorClosed();
}

void IPlugVST::EditorIdle() {
  if (window_) window_->Idle();
  if (closedWindow_ && !Editor()->InModalCall()) closedWindow_.reset();
}

void IPlugVST::SetProcessingDelay(int frames) {
  IPlugBase::SetProcessingDelay(frames);
  effect_.initialDelay = Latency();
}

bool IPlugVST::SendMidi(const MidiMessage& message) {
  VstMidiEvent event = MidiEventOf(message.offset, message.status, message.data1, message.data2);
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool IPlugVST::SendSysExData(const SysExMessage& message) {
  VstMidiSysexEvent event{};
  event.type = kVstSysExType;
  event.byteSize = sizeof(VstMidiSysexEvent);
  event.deltaFrames = message.offset;
  event.dumpBytes = message.size;
  event.sysexDump = reinterpret_cast<char*>(const_cast<uint8_t*>(message.data));
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}
