// The audio and parameter callbacks of the published record. Each holds the plug-in's
// lock for its whole duration; nothing thrown inside reaches the host.
#include "host/VSTCallbacks.h"

#include <algorithm>
#include <mutex>

#include "editor/IGraphics.h"
#include "host/IPlugVST.h"

namespace {

// The engine renders in slices no longer than the pins' scratch buffers, so a host that
// sends more frames than it announced cannot make it write past them. Disconnected pins
// and missing host buffers render into (or read) the pin's own scratch buffer.
template <typename Sample, typename Transfer>
void RenderSlices(IPlugVST& plug, Sample** inputs, Sample** outputs, int frames,
                  Transfer transfer) {
  const int slice = plug.ScratchFrames();
  for (int done = 0; done < frames; done += slice) {
    const int count = std::min(slice, frames - done);
    int hostInput = 0;
    for (int i = 0; i < plug.InputCount(); ++i) {
      ChannelPin& pin = plug.InputPin(i);
      Sample* host = pin.connected && inputs ? inputs[hostInput++] : nullptr;
      *pin.slot = transfer.Input(pin, host ? host + done : nullptr, count);
    }
    int hostOutput = 0;
    for (int i = 0; i < plug.OutputCount(); ++i) {
      ChannelPin& pin = plug.OutputPin(i);
      Sample* host = pin.connected && outputs ? outputs[hostOutput++] : nullptr;
      *pin.slot = transfer.Output(pin, host ? host + done : nullptr);
    }
    plug.RenderBlock(plug.InputPointers(), plug.OutputPointers(), count);
    hostOutput = 0;
    for (int i = 0; i < plug.OutputCount(); ++i) {
      ChannelPin& pin = plug.OutputPin(i);
      Sample* host = pin.connected && outputs ? outputs[hostOutput++] : nullptr;
      if (host) transfer.Store(pin, host + done, count);
    }
  }
}

// Float buffers are converted through the scratch buffers; the accumulating variant
// adds to what the host buffer holds.
template <bool kAccumulate>
struct FloatTransfer {
  double* Input(ChannelPin& pin, const float* host, int count) {
    if (host) {
      std::copy(host, host + count, pin.scratch.begin());
    } else {
      std::fill_n(pin.scratch.begin(), count, 0.0);
    }
    return pin.scratch.data();
  }
  double* Output(ChannelPin& pin, float*) { return pin.scratch.data(); }
  void Store(const ChannelPin& pin, float* host, int count) {
    for (int s = 0; s < count; ++s) {
      const auto sample = static_cast<float>(pin.scratch[static_cast<size_t>(s)]);
      host[s] = kAccumulate ? host[s] + sample : sample;
    }
  }
};

// Double buffers are handed to the engine as they are.
struct DoubleTransfer {
  double* Input(ChannelPin& pin, double* host, int) { return host ? host : pin.scratch.data(); }
  double* Output(ChannelPin& pin, double* host) { return host ? host : pin.scratch.data(); }
  void Store(const ChannelPin&, double*, int) {}
};

template <typename Sample, typename Transfer>
void Process(AEffect* effect, Sample** inputs, Sample** outputs, int32_t frames) {
  IPlugVST* plug = IPlugVST::FromEffect(effect);
  if (!plug || frames <= 0) return;
  try {
    std::lock_guard<ReentrantLock> guard(plug->Lock());
    if (plug->DoesMidi()) plug->WantMidi();
    RenderSlices(*plug, inputs, outputs, frames, Transfer{});
  } catch (...) {
  }
}

}  // namespace

void VST_CALLBACK VSTProcess(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
  Process<float, FloatTransfer<true>>(effect, inputs, outputs, frames);
}

void VST_CALLBACK VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                      int32_t frames) {
  Process<float, FloatTransfer<false>>(effect, inputs, outputs, frames);
}

void VST_CALLBACK VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                            int32_t frames) {
  Process<double, DoubleTransfer>(effect, inputs, outputs, frames);
}

void VST_CALLBACK VSTSetParameter(AEffect* effect, int32_t index, float value) {
  IPlugVST* plug = IPlugVST::FromEffect(effect);
  if (!plug) return;
  try {
    std::lock_guard<ReentrantLock> guard(plug->Lock());
    Parameter* parameter = plug->GetParameter(index);
    if (!parameter) return;
    if (IGraphics* editor = plug->Editor()) editor->UpdateControlsForParameter(index, value, true);
    parameter->SetNormalized(value);
    plug->ParameterChanged(index);
  } catch (...) {
  }
}

float VST_CALLBACK VSTGetParameter(AEffect* effect, int32_t index) {
  IPlugVST* plug = IPlugVST::FromEffect(effect);
  if (!plug) return 0.0f;
  std::lock_guard<ReentrantLock> guard(plug->Lock());
  const Parameter* parameter = plug->GetParameter(index);
  return parameter ? static_cast<float>(parameter->Normalized()) : 0.0f;
}
