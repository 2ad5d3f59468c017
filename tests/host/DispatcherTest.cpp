// The dispatcher and host calls of the instrument, driven through its AEffect record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"
#include "host/VSTCallbacks.h"
#include "tests/host/TestHost.h"

namespace {

// The instrument with its engine calls recorded.
class RecordingSynth : public Tarsyn7 {
 public:
  RecordingSynth() : Tarsyn7(&TestHost::Callback) {}

  void ParameterChanged(int index) override {
    changed.push_back(index);
    Tarsyn7::ParameterChanged(index);
  }
  void ResetProcessing() override {
    ++resets;
    Tarsyn7::ResetProcessing();
  }
  void HandleMidiMessage(const MidiMessage& message) override {
    midi.push_back(message);
    Tarsyn7::HandleMidiMessage(message);
  }
  void HandleSysEx(const SysExMessage& message) override {
    sysex.emplace_back(message.data, message.data + message.size);
  }

  std::vector<int> changed;
  int resets = 0;
  std::vector<MidiMessage> midi;
  std::vector<std::vector<uint8_t>> sysex;
};

class Dispatcher : public ::testing::Test {
 protected:
  VstIntPtr Dispatch(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }

  std::string Text(int32_t opcode, int32_t index, VstIntPtr value = 0, float opt = 0.0f) {
    char text[256] = {};
    Dispatch(opcode, index, value, text, opt);
    return text;
  }

  TestHost host;
  ActiveHost activate{&host};
  RecordingSynth plug;
  AEffect* effect = plug.Effect();
};

// A host buffer with guard bytes behind the part the plug-in may write.
struct GuardedText {
  explicit GuardedText(size_t room) : bytes(room + 16, 'x'), capacity(room) {}
  bool GuardIntact() const {
    for (size_t i = capacity; i < bytes.size(); ++i) {
      if (bytes[i] != 'x') return false;
    }
    return true;
  }
  std::vector<char> bytes;
  size_t capacity;
};

}  // namespace

TEST_F(Dispatcher, IdentityAnswers) {
  EXPECT_EQ(Dispatch(effIdentify), 0x4E764566);
  EXPECT_EQ(Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(Dispatch(effGetVendorVersion), 20501);
  EXPECT_EQ(Dispatch(effGetPlugCategory), kPlugCategorySynth);
  EXPECT_EQ(Dispatch(effGetTailSize), 0);
  EXPECT_EQ(Dispatch(effCanBeAutomated, 79), 1);
  EXPECT_EQ(Text(effGetVendorString, 0), "Corvane Music");
  EXPECT_EQ(Text(effGetEffectName, 0), "Tarsyn7");
  EXPECT_EQ(Dispatch(effGetProductString, 0, 0, GuardedText(64).bytes.data()), 1);
  EXPECT_EQ(Dispatch(effGetVendorString), 0);  // no pointer
  for (int32_t opcode : {9, 16, 28, 41, 44, 70, 200, -1}) {
    EXPECT_EQ(Dispatch(opcode, 1, 1), 0) << opcode;
  }
  AEffect orphan = *effect;
  orphan.object = nullptr;
  EXPECT_EQ(orphan.dispatcher(&orphan, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
}

TEST_F(Dispatcher, CanDoAnswers) {
  const auto canDo = [&](const char* text) {
    return Dispatch(effCanDo, 0, 0, const_cast<char*>(text));
  };
  for (const char* text : {"receiveVstTimeInfo", "sendVstEvents", "sendVstMidiEvent",
                           "receiveVstEvents", "receiveVstMidiEvent"}) {
    EXPECT_EQ(canDo(text), 1) << text;
  }
  EXPECT_EQ(canDo("hasCockosExtensions"), 0xBEEF0000);
  EXPECT_EQ(canDo("hasCockosViewAsConfig"), 0xBEEF0000);
  EXPECT_EQ(canDo("receiveVstEvent"), 0);
  EXPECT_EQ(canDo("ReceiveVstEvents"), 0);
  EXPECT_EQ(canDo("offline"), 0);
  EXPECT_EQ(Dispatch(effCanDo), 0);
}

TEST_F(Dispatcher, ProgramsSwitchKeepEditsAndNameWithinBounds) {
  plug.GetParameter(kVcfCutoff)->Set(12.0);
  Dispatch(effSetProgram, 0, 5);
  EXPECT_EQ(Dispatch(effGetProgram), 5);
  EXPECT_EQ(plug.PresetName(5), "user preset 1");  // never stored before
  plug.GetParameter(kVcfCutoff)->Set(40.0);
  Dispatch(effSetProgram, 0, 0);
  EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Value(), 12.0);  // the edit went with slot 0
  Dispatch(effSetProgram, 0, 5);
  EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Value(), 40.0);
  Dispatch(effSetProgram, 0, 64);
  Dispatch(effSetProgram, 0, VstIntPtr{1} << 40);
  EXPECT_EQ(Dispatch(effGetProgram), 5);

  const std::string longName(300, 'n');
  Dispatch(effSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
  EXPECT_EQ(plug.PresetName(5), std::string(255, 'n'));
  GuardedText name(kVstMaxProgramNameLength);
  Dispatch(effGetProgramName, 0, 0, name.bytes.data());
  EXPECT_EQ(std::string(name.bytes.data()), std::string(23, 'n'));
  EXPECT_TRUE(name.GuardIntact());

  GuardedText indexed(kVstMaxProgramNameLength);
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 5, 0, indexed.bytes.data()), 1);
  EXPECT_TRUE(indexed.GuardIntact());
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 64, 0, indexed.bytes.data()), 0);
  EXPECT_STREQ(indexed.bytes.data(), "");
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, -1, 0, indexed.bytes.data()), 0);
}

TEST_F(Dispatcher, ParameterTextsStayInRangeAndInBounds) {
  EXPECT_EQ(Text(effGetParamName, kVcfCutoff), "VCF Cutoff");
  EXPECT_EQ(Text(effGetParamName, kMode), "Mode");
  EXPECT_EQ(Text(effGetParamDisplay, kMode), "Poly");
  EXPECT_EQ(Text(effGetParamLabel, kMode), "");
  plug.GetParameter(kVcfCutoff)->Set(42.0);
  EXPECT_EQ(Text(effGetParamDisplay, kVcfCutoff), "42");
  for (int32_t index : {-1, 80, 1000}) {
    GuardedText text(0);
    Dispatch(effGetParamName, index, 0, text.bytes.data());
    Dispatch(effGetParamDisplay, index, 0, text.bytes.data());
    EXPECT_TRUE(text.GuardIntact()) << index;
  }
  GuardedText name(kVstMaxParameterTextLength);
  Dispatch(effGetParamName, kModWheelToDco, 0, name.bytes.data());
  EXPECT_TRUE(name.GuardIntact());
}

TEST_F(Dispatcher, StringToParameter) {
  const auto enter = [&](int32_t index, const char* text) {
    return Dispatch(effString2Parameter, index, 0, const_cast<char*>(text));
  };
  EXPECT_EQ(enter(kMode, "Chord"), 1);
  EXPECT_EQ(plug.GetParameter(kMode)->Value(), 1.0);
  EXPECT_EQ(enter(kMode, "chord"), 0);  // list texts match exactly
  EXPECT_EQ(enter(kMode, "1"), 0);
  EXPECT_EQ(plug.GetParameter(kMode)->Value(), 1.0);
  plug.changed.clear();
  EXPECT_EQ(enter(kVcfCutoff, "37.5"), 1);
  EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Value(), 37.5);
  EXPECT_EQ(plug.changed, std::vector<int>{kVcfCutoff});
  EXPECT_EQ(enter(kVcfCutoff, "1e9"), 1);
  EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Value(), 99.0);
  EXPECT_EQ(Dispatch(effString2Parameter, kVcfCutoff), 1);  // no text: nothing changes
  EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Value(), 99.0);
  EXPECT_EQ(enter(80, "1"), 0);
}

TEST_F(Dispatcher, VendorSpecificFormatsAndTellsSteppedParameters) {
  char text[64] = {};
  EXPECT_EQ(Dispatch(effVendorSpecific, 7, kVcfCutoff, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "49");  // 49.5 shown as an integer
  EXPECT_EQ(Dispatch(effVendorSpecific, 7, kMode, text, 1.0f), 0xBEEF);
  EXPECT_STREQ(text, "Chord");
  EXPECT_EQ(Dispatch(effVendorSpecific, 7, 80, text, 0.5f), 0xBEEF);
  EXPECT_EQ(Dispatch(effVendorSpecific, 7, kMode), 0);  // no pointer
  EXPECT_EQ(Dispatch(effVendorSpecific, 8, kMode), 0xBEEF);
  EXPECT_EQ(Dispatch(effVendorSpecific, 8, kVcfCutoff), 0);
  EXPECT_EQ(Dispatch(effVendorSpecific, 8, 80), 0);
  EXPECT_EQ(Dispatch(effVendorSpecific, 9, kMode), 0);
}

TEST_F(Dispatcher, PinPropertiesAndArrangements) {
  VstPinProperties pin{};
  EXPECT_EQ(Dispatch(effGetInputProperties, 0, 0, &pin), 1);
  EXPECT_EQ(pin.flags, 1);
  EXPECT_STREQ(pin.label, "Input 1");
  EXPECT_EQ(Dispatch(effGetOutputProperties, 0, 0, &pin), 1);
  EXPECT_EQ(pin.flags, 3);
  EXPECT_STREQ(pin.label, "Tarsyn7 Left ");
  EXPECT_EQ(Dispatch(effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_EQ(pin.flags, 1);
  EXPECT_STREQ(pin.label, "Tarsyn7 Right ");
  EXPECT_EQ(Dispatch(effGetOutputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(Dispatch(effGetInputProperties, 1, 0, &pin), 0);
  EXPECT_EQ(Dispatch(effGetOutputProperties, 0), 0);

  VstSpeakerArrangement* inputs = nullptr;
  VstSpeakerArrangement* outputs = nullptr;
  EXPECT_EQ(Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&inputs), &outputs),
            1);
  ASSERT_TRUE(inputs && outputs);
  EXPECT_EQ(inputs->numChannels, 1);
  EXPECT_EQ(inputs->type, kSpeakerArrMono);
  EXPECT_EQ(outputs->numChannels, 2);
  EXPECT_EQ(outputs->type, kSpeakerArrStereo);
  EXPECT_EQ(Dispatch(effGetSpeakerArrangement), 1);
}

// A host that connects only one output hands over one buffer; the other pin renders
// into its own scratch buffer, also when the host sends more frames than announced.
TEST_F(Dispatcher, DisconnectedPinsRenderIntoTheirScratch) {
  Dispatch(effSetBlockSize, 0, 64);
  VstSpeakerArrangement mono{};
  mono.numChannels = 1;
  EXPECT_EQ(Dispatch(effSetSpeakerArrangement, 0, 0, &mono), 1);
  EXPECT_TRUE(plug.OutputPin(0).connected);
  EXPECT_FALSE(plug.OutputPin(1).connected);
  EXPECT_TRUE(plug.InputPin(0).connected);

  std::vector<float> left(300, 7.0f);
  float* outputs[] = {left.data()};
  effect->processReplacing(effect, nullptr, outputs, 300);
  for (float sample : left) ASSERT_TRUE(std::isfinite(sample) && sample != 7.0f);
  std::vector<double> wide(300, 7.0);
  double* doubles[] = {wide.data()};
  effect->processDoubleReplacing(effect, nullptr, doubles, 300);
  for (double sample : wide) ASSERT_TRUE(std::isfinite(sample) && sample != 7.0);

  VstSpeakerArrangement none{};
  Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&none), nullptr);
  EXPECT_FALSE(plug.InputPin(0).connected);
  EXPECT_FALSE(plug.OutputPin(1).connected);  // no output arrangement: unchanged
}

TEST_F(Dispatcher, OpenAndActivationApplyEveryParameterAndDeactivationResets) {
  host.product = "Ardour";
  Dispatch(effOpen);
  Dispatch(effOpen);
  EXPECT_EQ(host.productQueries, 1);  // the host is identified once
  EXPECT_EQ(plug.IdentifyHost(), 28);
  EXPECT_EQ(plug.changed.size(), 160u);

  plug.changed.clear();
  Dispatch(effMainsChanged, 0, 1);
  ASSERT_EQ(plug.changed.size(), 80u);
  for (int i = 0; i < 80; ++i) EXPECT_EQ(plug.changed[static_cast<size_t>(i)], i);
  const int resets = plug.resets;
  Dispatch(effMainsChanged, 0, 0);
  EXPECT_EQ(plug.resets, resets + 1);
  Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(plug.SampleRate(), 48000.0);
  Dispatch(effSetBlockSize, 0, 333);
  EXPECT_EQ(plug.BlockSize(), 333);
  EXPECT_EQ(plug.resets, resets + 3);
}

TEST_F(Dispatcher, HostIdentification) {
  struct Case {
    const char* product;
    int kind;
  };
  const Case cases[] = {{"REAPER", 1},   {"Cubase VST", 3}, {"Ableton Live", 9},  {"Ardour", 28},
                        {"Renoise", 29}, {"OpenMPT", 30},   {"Bitwig Studio", 0}, {"", 0}};
  for (const Case& c : cases) {
    TestHost other;
    other.product = c.product;
    ActiveHost use(&other);
    Tarsyn7 instance(&TestHost::Callback);
    EXPECT_EQ(instance.IdentifyHost(), c.kind) << c.product;
    EXPECT_EQ(instance.HostVersion(), c.product[0] ? 0x00010203 : 0) << c.product;
  }
  EXPECT_EQ(plug.IdentifyHost(), 0);
}

TEST_F(Dispatcher, MidiInReachesTheHandlers) {
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.byteSize = sizeof note;
  note.deltaFrames = 17;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  const char dump[] = {static_cast<char>(0xF0), 0x42, 0x30, static_cast<char>(0xF7)};
  VstMidiSysexEvent sysex{};
  sysex.type = kVstSysExType;
  sysex.byteSize = sizeof sysex;
  sysex.dumpBytes = 4;
  sysex.sysexDump = const_cast<char*>(dump);
  VstEvent other{};
  other.type = 3;

  struct {
    int32_t numEvents;
    VstIntPtr reserved;
    VstEvent* events[4];
  } list{
      4,
      0,
      {reinterpret_cast<VstEvent*>(&note), nullptr, &other, reinterpret_cast<VstEvent*>(&sysex)}};
  EXPECT_EQ(Dispatch(effProcessEvents, 0, 0, &list), 1);
  ASSERT_EQ(plug.midi.size(), 1u);
  EXPECT_EQ(plug.midi[0].offset, 17);
  EXPECT_EQ(plug.midi[0].status, 0x90);
  EXPECT_EQ(plug.midi[0].data1, 60);
  EXPECT_EQ(plug.midi[0].data2, 100);
  ASSERT_EQ(plug.sysex.size(), 1u);
  EXPECT_EQ(plug.sysex[0], std::vector<uint8_t>({0xF0, 0x42, 0x30, 0xF7}));
  EXPECT_EQ(Dispatch(effProcessEvents), 0);
}

TEST_F(Dispatcher, MidiOutGoesToTheHostAtOnce) {
  EXPECT_TRUE(plug.SendMidi({5, 0x80, 61, 0}));
  const uint8_t bytes[] = {0xF0, 0x7E, 0xF7};
  EXPECT_TRUE(plug.SendSysExData({9, 3, bytes}));
  ASSERT_EQ(host.sent.size(), 2u);
  EXPECT_EQ(host.sent[0].type, kVstMidiType);
  EXPECT_EQ(host.sent[0].byteSize, 32);
  EXPECT_EQ(host.sent[0].deltaFrames, 5);
  EXPECT_EQ(host.sent[0].bytes, std::vector<uint8_t>({0x80, 61, 0, 0}));
  EXPECT_EQ(host.sent[1].type, kVstSysExType);
  EXPECT_EQ(host.sent[1].byteSize, 48);
  EXPECT_EQ(host.sent[1].bytes, std::vector<uint8_t>(bytes, bytes + 3));
}

TEST_F(Dispatcher, HostCallsAndTransport) {
  plug.SetParameterFromEditor(kVcfCutoff, 0.25);
  ASSERT_EQ(host.automated.size(), 1u);
  EXPECT_EQ(host.automated[0], std::make_pair(int32_t{kVcfCutoff}, 0.25f));
  plug.HostBeginGesture(3);
  plug.HostEndGesture(3);
  EXPECT_EQ(host.gestures, std::vector<int32_t>({3, -4}));
  plug.HostProgramChanged();
  EXPECT_EQ(host.updateDisplay, 1);
  EXPECT_FALSE(plug.HostIsOffline());
  host.processLevel = kProcessLevelOffline;
  EXPECT_TRUE(plug.HostIsOffline());

  TimeInfo info;
  plug.ReadHostTime(info);  // no record: unchanged
  EXPECT_EQ(info.tempo, 120.0);
  EXPECT_EQ(plug.HostSamplePosition(), 0);
  host.timeGiven = true;
  host.time.samplePos = 1000.6;
  host.time.ppqPos = 3.5;
  host.time.tempo = 90.0;
  host.time.timeSigNumerator = 7;
  host.time.timeSigDenominator = 8;
  host.time.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid;
  plug.ReadHostTime(info);
  EXPECT_EQ(info.samplePosition, 1000.6);
  EXPECT_EQ(info.ppqPosition, 3.5);
  EXPECT_EQ(info.tempo, 90.0);
  EXPECT_EQ(info.numerator, 4);  // signature not valid: kept
  EXPECT_TRUE(info.playing);
  EXPECT_FALSE(info.looping);
  EXPECT_EQ(plug.HostSamplePosition(), 1001);
  EXPECT_EQ(plug.HostTempo(), 90.0);
  int numerator = -1, denominator = -1;
  plug.HostTimeSignature(numerator, denominator);
  EXPECT_EQ(numerator, 0);
  host.time.flags |= kVstTimeSigValid;
  plug.HostTimeSignature(numerator, denominator);
  EXPECT_EQ(numerator, 7);
  EXPECT_EQ(denominator, 8);
}

// Hosts show an empty window for an editor that is offered but does not open: the editor is
// offered only where its window can open, and a parent that is not a window (or no window
// system at all) is refused without harm to the host.
TEST_F(Dispatcher, AnEditorWindowThatCannotOpenIsRefused) {
  EXPECT_EQ((effect->flags & effFlagsHasEditor) != 0, IPlugVST::kEditorHasWindow);
  ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), IPlugVST::kEditorHasWindow ? 1 : 0);
  char parent[16] = {};
  EXPECT_EQ(Dispatch(effEditOpen, 0, 0, parent), 0);
  Dispatch(effEditIdle);
  Dispatch(effEditClose);
}

TEST_F(Dispatcher, NoKeyNames) {
  MidiKeyName key{};
  key.thisKeyNumber = 60;
  std::strcpy(key.keyName, "old");
  EXPECT_EQ(Dispatch(effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_STREQ(key.keyName, "");
}

TEST_F(Dispatcher, ParameterCallbacks) {
  effect->setParameter(effect, kVcfCutoff, 0.5f);
  EXPECT_EQ(plug.GetParameter(kVcfCutoff)->Value(), 49.5);  // continuous
  EXPECT_FLOAT_EQ(effect->getParameter(effect, kVcfCutoff), 0.5f);
  effect->setParameter(effect, kBend, 0.5f);
  EXPECT_EQ(plug.GetParameter(kBend)->Value(), 6.0);  // stepped
  effect->setParameter(effect, kBend, std::nanf(""));
  EXPECT_TRUE(std::isfinite(plug.GetParameter(kBend)->Value()));
  effect->setParameter(effect, 80, 0.5f);
  effect->setParameter(effect, -1, 0.5f);
  EXPECT_EQ(effect->getParameter(effect, 80), 0.0f);
}

TEST_F(Dispatcher, ProcessCallbacksReplaceOrAddAndAskForMidi) {
  Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(effSetBlockSize, 0, 128);
  Dispatch(effMainsChanged, 0, 1);
  std::vector<float> left(128, 1.0f), right(128, 1.0f);
  float* outputs[] = {left.data(), right.data()};
  effect->processReplacing(effect, nullptr, outputs, 128);  // silence without notes
  for (float sample : left) ASSERT_NEAR(sample, 0.0f, 1e-6f);
  std::fill(right.begin(), right.end(), 1.0f);
  effect->process(effect, nullptr, outputs, 128);
  for (float sample : right) ASSERT_NEAR(sample, 1.0f, 1e-6f);
  EXPECT_EQ(host.wantMidi, 2);
  effect->processReplacing(effect, nullptr, outputs, 0);
  effect->processReplacing(effect, nullptr, outputs, -5);
  EXPECT_EQ(host.wantMidi, 2);
}
