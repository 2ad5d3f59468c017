#pragma once

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "host/Vst2.h"

// A host for tests: answers the plug-in's calls from its fields and records what the
// plug-in told it. The plug-in's callback reaches the one host made active.
struct TestHost {
  struct SentEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    std::vector<uint8_t> bytes;
  };

  std::string product = "Test Host";
  std::string vendor = "Test Vendor";
  VstIntPtr vendorVersion = 10203;
  VstIntPtr processLevel = kProcessLevelRealtime;
  bool timeGiven = false;
  VstTimeInfo time{};

  std::mutex mutex;
  std::vector<std::pair<int32_t, float>> automated;
  std::vector<SentEvent> sent;
  std::vector<int32_t> gestures;  // +index on begin, -(index + 1) on end
  int wantMidi = 0;
  int updateDisplay = 0;
  int productQueries = 0;

  static inline TestHost* active = nullptr;

  static VstIntPtr VST_CALLBACK Callback(AEffect*, int32_t opcode, int32_t index, VstIntPtr,
                                         void* ptr, float opt) {
    return active ? active->Answer(opcode, index, ptr, opt) : 0;
  }

  VstIntPtr Answer(int32_t opcode, int32_t index, void* ptr, float opt) {
    std::lock_guard<std::mutex> guard(mutex);
    switch (opcode) {
      case audioMasterVersion:
        return kVstVersion;
      case audioMasterAutomate:
        automated.emplace_back(index, opt);
        return 0;
      case audioMasterWantMidi:
        ++wantMidi;
        return 0;
      case audioMasterGetTime:
        return timeGiven ? reinterpret_cast<VstIntPtr>(&time) : 0;
      case audioMasterProcessEvents:
        return Record(static_cast<const VstEvents*>(ptr));
      case audioMasterGetCurrentProcessLevel:
        return processLevel;
      case audioMasterGetVendorString:
        return Copy(ptr, vendor);
      case audioMasterGetProductString:
        ++productQueries;
        return Copy(ptr, product);
      case audioMasterGetVendorVersion:
        return vendorVersion;
      case audioMasterUpdateDisplay:
        ++updateDisplay;
        return 1;
      case audioMasterBeginEdit:
        gestures.push_back(index);
        return 1;
      case audioMasterEndEdit:
        gestures.push_back(-(index + 1));
        return 1;
      default:
        return 0;
    }
  }

  // Host strings fit the plug-in's 256-byte buffers.
  static VstIntPtr Copy(void* ptr, const std::string& text) {
    std::strncpy(static_cast<char*>(ptr), text.c_str(), 255);
    return 1;
  }

  VstIntPtr Record(const VstEvents* events) {
    for (int32_t i = 0; i < events->numEvents; ++i) {
      const VstEvent* event = EventSlots(events)[i];
      SentEvent copy{event->type, event->byteSize, event->deltaFrames, {}};
      if (event->type == kVstMidiType) {
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
        copy.bytes.assign(midi->midiData, midi->midiData + 4);
      } else if (event->type == kVstSysExType) {
        const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
        copy.bytes.assign(sysex->sysexDump, sysex->sysexDump + sysex->dumpBytes);
      }
      sent.push_back(copy);
    }
    return 1;
  }
};

// Makes a host the one the callback reaches, for the lifetime of this object.
struct ActiveHost {
  explicit ActiveHost(TestHost* host) : previous(TestHost::active) { TestHost::active = host; }
  ~ActiveHost() { TestHost::active = previous; }
  TestHost* previous;
  ActiveHost(const ActiveHost&) = delete;
  ActiveHost& operator=(const ActiveHost&) = delete;
};
