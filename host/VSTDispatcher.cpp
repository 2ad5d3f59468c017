// The host's requests through the dispatcher. Every call but the editor's holds the
// plug-in's lock, and nothing thrown inside reaches the host: a failure answers 0.
#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>
#include <string>

#include "editor/IGraphics.h"
#include "host/IPlugVST.h"
#include "host/NumberText.h"
#include "host/ToolCommands.h"
#include "host/VSTCallbacks.h"

namespace {

constexpr VstIntPtr kVendorSpecificAnswer = 0xBEEF;
constexpr VstIntPtr kCockosAnswer = 0xBEEF0000;
constexpr int kFormatForValue = 7;       // effVendorSpecific: format a normalized value
constexpr int kIsNotContinuous = 8;      // effVendorSpecific: is the parameter stepped?
constexpr size_t kMaxEnteredText = 255;  // longest text read from the host

// Host values beyond the int range are out of range for every index they could name.
int ToIndex(VstIntPtr value) {
  return value >= INT_MIN && value <= INT_MAX ? static_cast<int>(value) : -1;
}

// Copies a text into a host buffer of `capacity` bytes, always terminated.
void CopyText(void* destination, const std::string& text, size_t capacity) {
  auto* out = static_cast<char*>(destination);
  const size_t length = std::min(text.size(), capacity - 1);
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
}

VstIntPtr AnswerText(void* ptr, const std::string& text, size_t capacity) {
  if (!ptr) return 0;
  CopyText(ptr, text, capacity);
  return 1;
}

std::string HostText(const void* ptr) {
  const auto* text = static_cast<const char*>(ptr);
  return std::string(text, strnlen(text, kMaxEnteredText));
}

VstIntPtr ParameterText(IPlugVST& plug, int32_t opcode, int32_t index, void* ptr) {
  const Parameter* parameter = plug.GetParameter(index);
  if (!parameter || !ptr) return 0;
  const std::string& text = opcode == effGetParamName    ? parameter->Name()
                            : opcode == effGetParamLabel ? parameter->Label()
                                                         : parameter->DisplayText();
  CopyText(ptr, text, kVstMaxParameterTextLength);
  return 0;
}

// A text of the parameter's list, or else a number (entered with the displayed sign); a
// text that is neither changes nothing.
VstIntPtr String2Parameter(IPlugVST& plug, int32_t index, const void* ptr) {
  Parameter* parameter = plug.GetParameter(index);
  if (!parameter) return 0;
  if (!ptr) return 1;
  const std::string text = HostText(ptr);
  double value = 0.0;
  if (parameter->HasDisplayTexts()) {
    int listed = 0;
    if (!parameter->ValueOfText(text, listed)) return 0;
    value = listed;
  } else {
    if (!ParseDecimal(text, value)) return 0;
    if (parameter->NegateDisplay()) value = -value;
  }
  if (IGraphics* editor = plug.Editor()) editor->UpdateControlsForParameter(index, value, false);
  parameter->Set(parameter->Clamp(value));
  plug.ParameterChanged(index);
  return 1;
}

VstIntPtr SetProgramName(IPlugVST& plug, const void* ptr) {
  if (!ptr) return 0;
  plug.ModifyCurrentPreset(HostText(ptr).c_str());
  plug.ProgramListChanged();
  return 0;
}

VstIntPtr ProgramNameIndexed(IPlugVST& plug, int32_t index, void* ptr) {
  if (!ptr) return 0;
  const std::string name = plug.PresetName(index);
  CopyText(ptr, name, kVstMaxProgramNameLength);
  return name.empty() ? 0 : 1;
}

// Pins are described in stereo pairs: an even pin with a following one starts a pair.
VstIntPtr PinProperties(IPlugVST& plug, bool input, int32_t index, void* ptr) {
  const int count = input ? plug.InputCount() : plug.OutputCount();
  if (!ptr || index < 0 || index >= count) return 0;
  const ChannelPin& pin = input ? plug.InputPin(index) : plug.OutputPin(index);
  auto* properties = static_cast<VstPinProperties*>(ptr);
  *properties = VstPinProperties{};
  const bool pairStart = index % 2 == 0 && index + 1 < count;
  properties->flags = kVstPinIsActive | (pairStart ? kVstPinIsStereo : 0);
  const std::string label =
      !pin.label.empty() ? pin.label : (input ? "Input " : "Output ") + std::to_string(index + 1);
  CopyText(properties->label, label, sizeof properties->label);
  return 1;
}

VstIntPtr GetSpeakerArrangement(IPlugVST& plug, VstIntPtr value, void* ptr) {
  if (value) *reinterpret_cast<VstSpeakerArrangement**>(value) = plug.InputArrangement();
  if (ptr) *static_cast<VstSpeakerArrangement**>(ptr) = plug.OutputArrangement();
  return 1;
}

// An event's offset as the plug-in counts it: inside the block the host announced (and
// far from the int range even for an absurd block size), so that no offset from the host
// can overflow where the engine counts on with it.
int32_t OffsetInBlock(const IPlugVST& plug, int32_t deltaFrames) {
  constexpr int kLongestBlock = 1 << 24;
  return std::clamp(deltaFrames, 0, std::clamp(plug.BlockSize(), 1, kLongestBlock) - 1);
}

VstIntPtr ProcessEvents(IPlugVST& plug, const void* ptr) {
  if (!ptr) return 0;
  const auto* list = static_cast<const VstEvents*>(ptr);
  for (int32_t i = 0; i < list->numEvents; ++i) {
    const VstEvent* event = EventSlots(list)[i];
    if (!event) continue;
    if (event->type == kVstMidiType) {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      MidiMessage message;
      message.offset = OffsetInBlock(plug, midi->deltaFrames);
      message.status = static_cast<uint8_t>(midi->midiData[0]);
      message.data1 = static_cast<uint8_t>(midi->midiData[1]);
      message.data2 = static_cast<uint8_t>(midi->midiData[2]);
      plug.HandleMidiMessage(message);
    } else if (event->type == kVstSysExType) {
      const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      SysExMessage message;
      message.offset = OffsetInBlock(plug, sysex->deltaFrames);
      message.size = sysex->sysexDump ? std::max(sysex->dumpBytes, 0) : 0;
      message.data = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
      plug.HandleSysEx(message);
    }
  }
  return 1;
}

VstIntPtr CanDo(IPlugVST& plug, const void* ptr) {
  if (!ptr) return 0;
  const auto* text = static_cast<const char*>(ptr);
  const auto is = [text](const char* name) { return std::strcmp(text, name) == 0; };
  if (is("receiveVstTimeInfo")) return 1;
  if (plug.DoesMidi() && (is("sendVstEvents") || is("sendVstMidiEvent") || is("receiveVstEvents") ||
                          is("receiveVstMidiEvent"))) {
    return 1;
  }
  if (is("hasCockosExtensions") || is("hasCockosViewAsConfig")) return kCockosAnswer;
  return 0;
}

VstIntPtr VendorSpecific(IPlugVST& plug, int32_t index, VstIntPtr value, void* ptr, float opt) {
  if (index == ToolCommands::kIndex) {
    return plug.RunToolCommand(static_cast<int32_t>(value), ptr) ? 1 : 0;
  }
  const Parameter* parameter = plug.GetParameter(ToIndex(value));
  if (index == kFormatForValue && ptr) {
    if (parameter) {
      CopyText(ptr, parameter->DisplayText(parameter->FromNormalized(opt)),
               kVstMaxParameterTextLength);
    }
    return kVendorSpecificAnswer;
  }
  if (index == kIsNotContinuous && parameter && parameter->GetType() != Parameter::kTypeDouble) {
    return kVendorSpecificAnswer;
  }
  return 0;
}

VstIntPtr MidiKeyNameOf(IPlugVST& plug, void* ptr) {
  if (!ptr) return 0;
  auto* key = static_cast<MidiKeyName*>(ptr);
  key->keyName[0] = '\0';
  std::string name;
  if (!plug.NameOfKey(key->thisKeyNumber, name)) return 0;
  CopyText(key->keyName, name, sizeof key->keyName);
  return 1;
}

VstIntPtr EditorRect(IPlugVST& plug, void* ptr) {
  if (!ptr || !plug.OffersEditor()) return 0;
  *static_cast<const ERect**>(ptr) = &plug.EditorRect();
  return 1;
}

bool IsEditorRequest(int32_t opcode) {
  return opcode == effEditGetRect || opcode == effEditOpen || opcode == effEditClose ||
         opcode == effEditIdle;
}

// The editor's window, without the plug-in's lock (IPlugVST::OpenEditor).
VstIntPtr DispatchEditor(IPlugVST& plug, int32_t opcode, void* ptr) {
  switch (opcode) {
    case effEditGetRect:
      return EditorRect(plug, ptr);
    case effEditOpen:
      return plug.OpenEditor(ptr) ? 1 : 0;
    case effEditClose:
      if (!plug.OffersEditor()) return 0;
      plug.CloseEditor();
      return 1;
    default: {  // effEditIdle
      {
        std::lock_guard<ReentrantLock> guard(plug.Lock());
        plug.IdleTick();
      }
      plug.EditorIdle();
      return 0;
    }
  }
}

VstIntPtr Dispatch(IPlugVST& plug, int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                   float opt) {
  switch (opcode) {
    case effOpen:
      plug.HostOpened();
      for (int i = 0; i < plug.ParameterCount(); ++i) plug.ParameterChanged(i);
      return 0;
    case effSetProgram:
      plug.ModifyCurrentPreset();  // the outgoing program keeps its edits
      plug.RecallPreset(ToIndex(value));
      return 0;
    case effGetProgram:
      return plug.CurrentPreset();
    case effSetProgramName:
      return SetProgramName(plug, ptr);
    case effGetProgramName:
      if (ptr) CopyText(ptr, plug.PresetName(plug.CurrentPreset()), kVstMaxProgramNameLength);
      return 0;
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
      return ParameterText(plug, opcode, index, ptr);
    case effSetSampleRate:
      plug.ChangeSampleRate(opt);
      plug.ResetProcessing();
      return 0;
    case effSetBlockSize:
      plug.ChangeBlockSize(std::max(ToIndex(value), 0));
      plug.ResetProcessing();
      return 0;
    case effMainsChanged:
      plug.ActivationChanged(value != 0);
      if (value == 0) plug.ResetProcessing();
      return 0;
    case effIdle:
      plug.IdleTick();
      return 0;
    case effIdentify:
      return FourCharacters("NvEf");
    case effGetChunk:
      return plug.GetChunk(index == 0, static_cast<void**>(ptr));
    case effSetChunk:  // value: the size in bytes
      return plug.SetChunk(index == 0, ptr, value > 0 ? ToIndex(value) : 0);
    case effProcessEvents:
      return ProcessEvents(plug, ptr);
    case effCanBeAutomated:
      return 1;
    case effString2Parameter:
      return String2Parameter(plug, index, ptr);
    case effGetProgramNameIndexed:
      return ProgramNameIndexed(plug, index, ptr);
    case effGetInputProperties:
    case effGetOutputProperties:
      return PinProperties(plug, opcode == effGetInputProperties, index, ptr);
    case effGetPlugCategory:
      return plug.IsInstrument() ? kPlugCategorySynth : kPlugCategoryEffect;
    case effSetSpeakerArrangement:
      plug.ConnectPins(reinterpret_cast<const VstSpeakerArrangement*>(value),
                       static_cast<const VstSpeakerArrangement*>(ptr));
      return 1;
    case effGetEffectName:
      return AnswerText(ptr, plug.Identity().effectName, kVstMaxEffectNameLength);
    case effGetVendorString:
      return AnswerText(ptr, plug.Identity().vendorString, kVstMaxVendorStringLength);
    case effGetProductString:
      return AnswerText(ptr, plug.Identity().productString, kVstMaxProductStringLength);
    case effGetVendorVersion:
      return plug.VstVersion();
    case effVendorSpecific:
      return VendorSpecific(plug, index, value, ptr, opt);
    case effCanDo:
      return CanDo(plug, ptr);
    case effGetTailSize:
      return plug.TailSize();
    case effGetVstVersion:
      return kVstVersion;
    case effGetMidiKeyName:
      return MidiKeyNameOf(plug, ptr);
    case effGetSpeakerArrangement:
      return GetSpeakerArrangement(plug, value, ptr);
    default:
      return 0;
  }
}

}  // namespace

VstIntPtr VST_CALLBACK VSTDispatcher(AEffect* effect, int32_t opcode, int32_t index,
                                     VstIntPtr value, void* ptr, float opt) {
  IPlugVST* plug = IPlugVST::FromEffect(effect);
  if (!plug) return 0;
  plug->EnterHostCall();
  VstIntPtr answer = 0;
  try {
    if (opcode == effClose) {
      plug->CloseEditor();  // a host may close the plug-in with the editor open
      plug->RequestDeletion();
    } else if (IsEditorRequest(opcode)) {
      answer = DispatchEditor(*plug, opcode, ptr);
    } else {
      std::lock_guard<ReentrantLock> guard(plug->Lock());
      answer = Dispatch(*plug, opcode, index, value, ptr, opt);
    }
  } catch (...) {
    answer = 0;
  }
  if (plug->LeaveHostCall()) {
    // Waits for an audio callback still inside, then leaves the lock before it is destroyed.
    plug->Lock().lock();
    plug->Lock().unlock();
    delete plug;  // the host must not call again
  }
  return answer;
}
