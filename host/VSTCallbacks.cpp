#include "host/VSTCallbacks.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "editor/IGraphics.h"
#include "host/IPlugVST.h"

namespace {

IPlugVST* PlugOf(AEffect* effect) {
  return effect ? static_cast<IPlugVST*>(effect->object) : nullptr;
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

VstIntPtr ParameterText(IPlugVST& plug, int32_t opcode, int32_t index, void* ptr) {
  const Parameter* parameter = plug.GetParameter(index);
  if (!parameter || !ptr) return 0;
  const std::string& text = opcode == effGetParamName    ? parameter->Name()
                            : opcode == effGetParamLabel ? parameter->Label()
                                                         : parameter->DisplayText();
  CopyText(ptr, text, kVstMaxParameterTextLength);
  return 0;
}

VstIntPtr Dispatch(IPlugVST& plug, int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                   float opt) {
  switch (opcode) {
    case effOpen:
      plug.HostOpened();
      for (int i = 0; i < plug.ParameterCount(); ++i) plug.ParameterChanged(i);
      return 0;
    case effSetSampleRate:
      plug.ChangeSampleRate(opt);
      plug.ResetProcessing();
      return 0;
    case effSetBlockSize:
      plug.ChangeBlockSize(static_cast<int>(value));
      plug.ResetProcessing();
      return 0;
    case effMainsChanged:
      plug.ActivationChanged(value != 0);
      if (value == 0) plug.ResetProcessing();
      return 0;
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
      return ParameterText(plug, opcode, index, ptr);
    case effCanBeAutomated:
      return 1;
    case effGetPlugCategory:
      return plug.IsInstrument() ? kPlugCategorySynth : kPlugCategoryEffect;
    case effGetEffectName:
      return AnswerText(ptr, plug.Identity().effectName, kVstMaxEffectNameLength);
    case effGetVendorString:
      return AnswerText(ptr, plug.Identity().vendorString, kVstMaxVendorStringLength);
    case effGetProductString:
      return AnswerText(ptr, plug.Identity().productString, kVstMaxProductStringLength);
    case effGetVendorVersion:
      return plug.VstVersion();
    case effIdentify:
      return FourCharacters("NvEf");
    case effGetTailSize:
      return plug.TailSize();
    case effGetVstVersion:
      return kVstVersion;
    case effEditIdle:
    case effIdle:
      plug.IdleTick();
      return 0;
    default:
      return 0;
  }
}

// Renders through the pins' scratch buffers in slices no longer than they are, so a
// host that sends more frames than it announced cannot make us write past them.
template <bool kAccumulate>
void ProcessFloat(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
  IPlugVST* plug = PlugOf(effect);
  if (!plug || frames <= 0) return;
  std::lock_guard<ReentrantLock> guard(plug->Lock());
  if (plug->DoesMidi()) plug->Host()(effect, audioMasterWantMidi, 0, 0, nullptr, 0.0f);
  const int slice = plug->ScratchFrames();
  if (slice <= 0) return;
  for (int done = 0; done < frames; done += slice) {
    const int count = std::min(slice, frames - done);
    int hostInput = 0;
    for (int i = 0; i < plug->InputCount(); ++i) {
      ChannelPin& pin = plug->InputPin(i);
      if (!pin.connected) continue;
      const float* source = inputs ? inputs[hostInput++] : nullptr;
      for (int s = 0; s < count; ++s) pin.scratch[s] = source ? source[done + s] : 0.0;
      *pin.slot = pin.scratch.data();
    }
    for (int i = 0; i < plug->OutputCount(); ++i) *plug->OutputPin(i).slot = plug->OutputPin(i).scratch.data();
    plug->RenderBlock(plug->InputPointers(), plug->OutputPointers(), count);
    int hostOutput = 0;
    for (int i = 0; i < plug->OutputCount(); ++i) {
      ChannelPin& pin = plug->OutputPin(i);
      if (!pin.connected) continue;
      float* target = outputs ? outputs[hostOutput++] : nullptr;
      if (!target) continue;
      for (int s = 0; s < count; ++s) {
        const auto sample = static_cast<float>(pin.scratch[s]);
        target[done + s] = kAccumulate ? target[done + s] + sample : sample;
      }
    }
  }
}

}  // namespace

VstIntPtr VST_CALLBACK VSTDispatcher(AEffect* effect, int32_t opcode, int32_t index,
                                     VstIntPtr value, void* ptr, float opt) {
  IPlugVST* plug = PlugOf(effect);
  if (!plug) return 0;
  if (opcode == effClose) {
    delete plug;  // the host must not call again
    return 0;
  }
  std::lock_guard<ReentrantLock> guard(plug->Lock());
  return Dispatch(*plug, opcode, index, value, ptr, opt);
}

void VST_CALLBACK VSTProcess(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
  ProcessFloat<true>(effect, inputs, outputs, frames);
}

void VST_CALLBACK VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                      int32_t frames) {
  ProcessFloat<false>(effect, inputs, outputs, frames);
}

void VST_CALLBACK VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                            int32_t frames) {
  IPlugVST* plug = PlugOf(effect);
  if (!plug || frames <= 0) return;
  std::lock_guard<ReentrantLock> guard(plug->Lock());
  if (plug->DoesMidi()) plug->Host()(effect, audioMasterWantMidi, 0, 0, nullptr, 0.0f);
  int hostInput = 0;
  for (int i = 0; i < plug->InputCount(); ++i) {
    ChannelPin& pin = plug->InputPin(i);
    if (pin.connected) *pin.slot = inputs ? inputs[hostInput++] : nullptr;
  }
  int hostOutput = 0;
  for (int i = 0; i < plug->OutputCount(); ++i) {
    ChannelPin& pin = plug->OutputPin(i);
    if (pin.connected) *pin.slot = outputs ? outputs[hostOutput++] : nullptr;
  }
  plug->RenderBlock(plug->InputPointers(), plug->OutputPointers(), frames);
}

void VST_CALLBACK VSTSetParameter(AEffect* effect, int32_t index, float value) {
  IPlugVST* plug = PlugOf(effect);
  if (!plug) return;
  std::lock_guard<ReentrantLock> guard(plug->Lock());
  Parameter* parameter = plug->GetParameter(index);
  if (!parameter) return;
  if (IGraphics* editor = plug->Editor()) editor->UpdateControlsForParameter(index, value, true);
  parameter->SetNormalized(value);
  plug->ParameterChanged(index);
}

float VST_CALLBACK VSTGetParameter(AEffect* effect, int32_t index) {
  IPlugVST* plug = PlugOf(effect);
  if (!plug) return 0.0f;
  std::lock_guard<ReentrantLock> guard(plug->Lock());
  const Parameter* parameter = plug->GetParameter(index);
  return parameter ? static_cast<float>(parameter->Normalized()) : 0.0f;
}
