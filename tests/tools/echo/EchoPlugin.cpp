// A tiny VST 2.4 instrument for the renderer's tests; it reports what its host did.
// Audio: 0.5 on the left and 0.25 on the right from the exact sample of a note-on while
// any key is down. MIDI out: every event received, at its own offset; on the first block
// a SysEx with the host's answers, and on every block one with the transport.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/Vst2.h"

namespace {

struct Echo {
  AEffect effect{};
  HostCallback host = nullptr;
  std::vector<VstMidiEvent> pending;
  int held = 0;
  bool reported = false;
};

Echo* Of(AEffect* effect) {
  return static_cast<Echo*>(effect->object);
}

VstIntPtr Call(Echo& echo, int32_t opcode, VstIntPtr value = 0, void* ptr = nullptr) {
  return echo.host(&echo.effect, opcode, 0, value, ptr, 0.0f);
}

void SendSysEx(Echo& echo, const std::string& text) {
  std::string dump = "\xF0\x7D" + text + "\xF7";
  VstMidiSysexEvent sysex{};
  sysex.type = kVstSysExType;
  sysex.byteSize = sizeof sysex;
  sysex.dumpBytes = static_cast<int32_t>(dump.size());
  sysex.sysexDump = &dump[0];
  VstEvents list{};
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<VstEvent*>(&sysex);
  Call(echo, audioMasterProcessEvents, 0, &list);
}

std::string HostString(Echo& echo, int32_t opcode) {
  char text[64] = {};
  Call(echo, opcode, 0, text);
  return text;
}

void ReportHost(Echo& echo) {
  char canDo[] = "sendVstTimeInfo";
  char text[512];
  std::snprintf(text, sizeof text,
                "version=%d level=%d rate=%d block=%d vendor=%s product=%s cando=%d",
                static_cast<int>(Call(echo, audioMasterVersion)),
                static_cast<int>(Call(echo, audioMasterGetCurrentProcessLevel)),
                static_cast<int>(Call(echo, audioMasterGetSampleRate)),
                static_cast<int>(Call(echo, audioMasterGetBlockSize)),
                HostString(echo, audioMasterGetVendorString).c_str(),
                HostString(echo, audioMasterGetProductString).c_str(),
                static_cast<int>(Call(echo, audioMasterCanDo, 0, canDo)));
  SendSysEx(echo, text);
}

void ReportTransport(Echo& echo) {
  const auto* time = reinterpret_cast<const VstTimeInfo*>(Call(echo, audioMasterGetTime, 0x3E00));
  if (!time) return;
  char text[256];
  std::snprintf(text, sizeof text, "pos=%.0f ppq=%.6f tempo=%.4f bar=%.6f sig=%d/%d flags=%d",
                time->samplePos, time->ppqPos, time->tempo, time->barStartPos,
                time->timeSigNumerator, time->timeSigDenominator, time->flags);
  SendSysEx(echo, text);
}

VstIntPtr VST_CALLBACK Dispatcher(AEffect* effect, int32_t opcode, int32_t, VstIntPtr, void* ptr,
                                  float) {
  Echo* echo = Of(effect);
  if (opcode == effClose) {
    delete echo;
    return 0;
  }
  if (opcode != effProcessEvents || !ptr) return 0;
  const auto* list = static_cast<const VstEvents*>(ptr);
  for (int32_t i = 0; i < list->numEvents; ++i) {
    const VstEvent* event = EventSlots(list)[i];
    if (event->type == kVstMidiType) {
      echo->pending.push_back(*reinterpret_cast<const VstMidiEvent*>(event));
    }
  }
  return 1;
}

void VST_CALLBACK Process(AEffect* effect, float**, float** outputs, int32_t frames) {
  Echo& echo = *Of(effect);
  if (!echo.reported) ReportHost(echo);
  echo.reported = true;
  ReportTransport(echo);
  std::stable_sort(
      echo.pending.begin(), echo.pending.end(),
      [](const VstMidiEvent& a, const VstMidiEvent& b) { return a.deltaFrames < b.deltaFrames; });
  VstEvents list{};
  list.numEvents = 1;
  size_t next = 0;
  for (int32_t i = 0; i < frames; ++i) {
    for (; next < echo.pending.size() && echo.pending[next].deltaFrames <= i; ++next) {
      VstMidiEvent& event = echo.pending[next];
      const int status = static_cast<uint8_t>(event.midiData[0]) & 0xF0;
      if (status == 0x90 && event.midiData[2] != 0) {
        ++echo.held;
      } else if (status == 0x80 || status == 0x90) {
        echo.held = std::max(echo.held - 1, 0);
      }
      list.events[0] = reinterpret_cast<VstEvent*>(&event);
      Call(echo, audioMasterProcessEvents, 0, &list);
    }
    outputs[0][i] = echo.held > 0 ? 0.5f : 0.0f;
    outputs[1][i] = echo.held > 0 ? 0.25f : 0.0f;
  }
  echo.pending.clear();
}

float VST_CALLBACK GetParameter(AEffect*, int32_t) {
  return 0.0f;
}
void VST_CALLBACK SetParameter(AEffect*, int32_t, float) {}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(HostCallback host) {
  auto* echo = new Echo;
  echo->host = host;
  AEffect& effect = echo->effect;
  effect.magic = kEffectMagic;
  effect.dispatcher = &Dispatcher;
  effect.setParameter = &SetParameter;
  effect.getParameter = &GetParameter;
  effect.processReplacing = &Process;
  effect.numPrograms = 1;
  effect.numOutputs = 2;
  effect.flags = effFlagsCanReplacing | effFlagsIsSynth;
  effect.object = echo;
  effect.uniqueID = 0x6563686F;  // "echo"
  return &effect;
}
