#pragma once

// The VST 2.4 binary interface: plain C records with natural alignment and the numbers
// the host and the plug-in exchange. Our own declarations; names are ours.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VST_CALLBACK __cdecl
#else
#define VST_CALLBACK
#endif

struct AEffect;

using VstIntPtr = std::intptr_t;
using HostCallback = VstIntPtr(VST_CALLBACK*)(AEffect* effect, int32_t opcode, int32_t index,
                                              VstIntPtr value, void* ptr, float opt);
using DispatcherProc = VstIntPtr(VST_CALLBACK*)(AEffect* effect, int32_t opcode, int32_t index,
                                                VstIntPtr value, void* ptr, float opt);
using ProcessProc = void(VST_CALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                        int32_t frames);
using ProcessDoubleProc = void(VST_CALLBACK*)(AEffect* effect, double** inputs, double** outputs,
                                              int32_t frames);
using SetParameterProc = void(VST_CALLBACK*)(AEffect* effect, int32_t index, float value);
using GetParameterProc = float(VST_CALLBACK*)(AEffect* effect, int32_t index);

constexpr int32_t kEffectMagic = 0x56737450;  // "VstP"

enum EffectFlags : int32_t {
  effFlagsHasEditor = 1,
  effFlagsCanMono = 8,
  effFlagsCanReplacing = 16,
  effFlagsProgramChunks = 32,
  effFlagsIsSynth = 256,
  effFlagsNoSoundInStop = 512,
  effFlagsCanDoubleReplacing = 4096,
};

struct AEffect {
  int32_t magic;
  DispatcherProc dispatcher;
  ProcessProc process;  // accumulating, deprecated
  SetParameterProc setParameter;
  GetParameterProc getParameter;
  int32_t numPrograms;
  int32_t numParams;
  int32_t numInputs;
  int32_t numOutputs;
  int32_t flags;
  VstIntPtr resvd1;
  VstIntPtr resvd2;
  int32_t initialDelay;
  int32_t realQualities;
  int32_t offQualities;
  float ioRatio;
  void* object;
  void* user;
  int32_t uniqueID;
  int32_t version;
  ProcessProc processReplacing;
  ProcessDoubleProc processDoubleReplacing;
  char future[56];
};

// Plug-in opcodes (host → plug-in).
enum EffectOpcode : int32_t {
  effOpen = 0,
  effClose = 1,
  effSetProgram = 2,
  effGetProgram = 3,
  effSetProgramName = 4,
  effGetProgramName = 5,
  effGetParamLabel = 6,
  effGetParamDisplay = 7,
  effGetParamName = 8,
  effSetSampleRate = 10,
  effSetBlockSize = 11,
  effMainsChanged = 12,
  effEditGetRect = 13,
  effEditOpen = 14,
  effEditClose = 15,
  effEditIdle = 19,
  effIdentify = 22,
  effGetChunk = 23,
  effSetChunk = 24,
  effProcessEvents = 25,
  effCanBeAutomated = 26,
  effString2Parameter = 27,
  effGetProgramNameIndexed = 29,
  effGetInputProperties = 33,
  effGetOutputProperties = 34,
  effGetPlugCategory = 35,
  effProcessVarIo = 41,
  effSetSpeakerArrangement = 42,
  effGetEffectName = 45,
  effGetVendorString = 47,
  effGetProductString = 48,
  effGetVendorVersion = 49,
  effVendorSpecific = 50,
  effCanDo = 51,
  effGetTailSize = 52,
  effIdle = 53,
  effGetVstVersion = 58,
  effGetMidiKeyName = 66,
  effGetSpeakerArrangement = 69,
};

// Host opcodes (plug-in → host).
enum HostOpcode : int32_t {
  audioMasterAutomate = 0,
  audioMasterVersion = 1,
  audioMasterCurrentId = 2,
  audioMasterIdle = 3,
  audioMasterWantMidi = 6,
  audioMasterGetTime = 7,
  audioMasterProcessEvents = 8,
  audioMasterIOChanged = 13,
  audioMasterSizeWindow = 15,
  audioMasterGetSampleRate = 16,
  audioMasterGetBlockSize = 17,
  audioMasterGetCurrentProcessLevel = 23,
  audioMasterGetAutomationState = 24,
  audioMasterGetVendorString = 32,
  audioMasterGetProductString = 33,
  audioMasterGetVendorVersion = 34,
  audioMasterVendorSpecific = 35,
  audioMasterCanDo = 37,
  audioMasterGetLanguage = 38,
  audioMasterGetDirectory = 41,
  audioMasterUpdateDisplay = 42,
  audioMasterBeginEdit = 43,
  audioMasterEndEdit = 44,
  audioMasterOpenFileSelector = 45,
  audioMasterCloseFileSelector = 46,
};

enum ProcessLevel : int32_t {
  kProcessLevelUnknown = 0,
  kProcessLevelUser = 1,
  kProcessLevelRealtime = 2,
  kProcessLevelPrefetch = 3,
  kProcessLevelOffline = 4,
};

enum PlugCategory : int32_t {
  kPlugCategoryUnknown = 0,
  kPlugCategoryEffect = 1,
  kPlugCategorySynth = 2
};

constexpr int32_t kVstVersion = 2400;

// Events.
enum VstEventType : int32_t { kVstMidiType = 1, kVstSysExType = 6 };

struct VstEvent {
  int32_t type;
  int32_t byteSize;
  int32_t deltaFrames;
  int32_t flags;
  char data[16];
};

struct VstEvents {
  int32_t numEvents;
  VstIntPtr reserved;
  VstEvent* events[2];  // really numEvents entries
};

// The list's numEvents pointers. The declared two are only the start, so they are reached
// through a pointer: indexing the array past two is out of its bounds.
inline VstEvent** EventSlots(VstEvents* list) {
  return list->events;
}
inline VstEvent* const* EventSlots(const VstEvents* list) {
  return list->events;
}

constexpr int32_t kVstMidiEventIsRealtime = 1;

struct VstMidiEvent {
  int32_t type;
  int32_t byteSize;
  int32_t deltaFrames;
  int32_t flags;
  int32_t noteLength;
  int32_t noteOffset;
  char midiData[4];
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

// A short MIDI message as an event, `deltaFrames` into the block.
inline VstMidiEvent MidiEventOf(int32_t deltaFrames, uint8_t status, uint8_t data1, uint8_t data2) {
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = deltaFrames;
  event.midiData[0] = static_cast<char>(status);
  event.midiData[1] = static_cast<char>(data1);
  event.midiData[2] = static_cast<char>(data2);
  return event;
}

struct VstMidiSysexEvent {
  int32_t type;
  int32_t byteSize;
  int32_t deltaFrames;
  int32_t flags;
  int32_t dumpBytes;
  VstIntPtr resvd1;
  char* sysexDump;
  VstIntPtr resvd2;
};

// Transport.
enum VstTimeInfoFlags : int32_t {
  kVstTransportChanged = 1,
  kVstTransportPlaying = 2,
  kVstTransportCycleActive = 4,
  kVstTransportRecording = 8,
  kVstNanosValid = 0x100,
  kVstPpqPosValid = 0x200,
  kVstTempoValid = 0x400,
  kVstBarsValid = 0x800,
  kVstCyclePosValid = 0x1000,
  kVstTimeSigValid = 0x2000,
  kVstSmpteValid = 0x4000,
  kVstClockValid = 0x8000,
};

struct VstTimeInfo {
  double samplePos;
  double sampleRate;
  double nanoSeconds;
  double ppqPos;
  double tempo;
  double barStartPos;
  double cycleStartPos;
  double cycleEndPos;
  int32_t timeSigNumerator;
  int32_t timeSigDenominator;
  int32_t smpteOffset;
  int32_t smpteFrameRate;
  int32_t samplesToNextClock;
  int32_t flags;
};

// Pins and speakers.
enum VstPinFlags : int32_t { kVstPinIsActive = 1, kVstPinIsStereo = 2, kVstPinUseSpeaker = 4 };

struct VstPinProperties {
  char label[64];
  int32_t flags;
  int32_t arrangementType;
  char shortLabel[8];
  char future[48];
};

enum VstSpeakerArrangementType : int32_t {
  kSpeakerArrUserDefined = -2,
  kSpeakerArrEmpty = -1,
  kSpeakerArrMono = 0,
  kSpeakerArrStereo = 1,
};

struct VstSpeakerProperties {
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[64];
  int32_t type;
  char future[28];
};

struct VstSpeakerArrangement {
  int32_t type;
  int32_t numChannels;
  VstSpeakerProperties speakers[8];
};

// Name of one key of one program (effGetMidiKeyName).
struct MidiKeyName {
  int32_t thisProgramIndex;
  int32_t thisKeyNumber;
  char keyName[64];
  int32_t reserved;
  int32_t flags;
};

struct ERect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

// Longest texts (with terminator) the plug-in writes into host buffers. Parameter texts
// are documented as 8 bytes, but every host passes at least 64 and real names need more;
// 32 is the bound our parameter records hold and what established hosts accept.
constexpr int kVstMaxProgramNameLength = 24;
constexpr int kVstMaxParameterTextLength = 32;
constexpr int kVstMaxEffectNameLength = 32;
constexpr int kVstMaxVendorStringLength = 64;
constexpr int kVstMaxProductStringLength = 64;

// Layouts are part of the binary interface: check them for both word sizes.
constexpr bool kIs64Bit = sizeof(void*) == 8;
static_assert(sizeof(AEffect) == (kIs64Bit ? 192 : 144), "AEffect layout");
static_assert(offsetof(AEffect, flags) == (kIs64Bit ? 56 : 36), "AEffect layout");
static_assert(offsetof(AEffect, resvd1) == (kIs64Bit ? 64 : 40), "AEffect layout");
static_assert(offsetof(AEffect, initialDelay) == (kIs64Bit ? 80 : 48), "AEffect layout");
static_assert(offsetof(AEffect, object) == (kIs64Bit ? 96 : 64), "AEffect layout");
static_assert(offsetof(AEffect, uniqueID) == (kIs64Bit ? 112 : 72), "AEffect layout");
static_assert(offsetof(AEffect, processReplacing) == (kIs64Bit ? 120 : 80), "AEffect layout");
static_assert(offsetof(AEffect, processDoubleReplacing) == (kIs64Bit ? 128 : 84), "AEffect layout");
static_assert(offsetof(AEffect, future) == (kIs64Bit ? 136 : 88), "AEffect layout");
static_assert(offsetof(VstEvents, events) == (kIs64Bit ? 16 : 8), "VstEvents layout");
static_assert(sizeof(VstMidiEvent) == 32, "VstMidiEvent layout");
static_assert(sizeof(VstMidiSysexEvent) == (kIs64Bit ? 48 : 32), "VstMidiSysexEvent layout");
static_assert(offsetof(VstMidiSysexEvent, dumpBytes) == 16, "VstMidiSysexEvent layout");
static_assert(offsetof(VstMidiSysexEvent, sysexDump) == (kIs64Bit ? 32 : 24),
              "VstMidiSysexEvent layout");
static_assert(sizeof(VstTimeInfo) == 88, "VstTimeInfo layout");
static_assert(sizeof(VstPinProperties) == 128, "VstPinProperties layout");
static_assert(sizeof(VstSpeakerProperties) == 112, "VstSpeakerProperties layout");
static_assert(sizeof(VstSpeakerArrangement) == 904, "VstSpeakerArrangement layout");
static_assert(sizeof(MidiKeyName) == 80, "MidiKeyName layout");
static_assert(sizeof(ERect) == 8, "ERect layout");
