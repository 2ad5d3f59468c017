// A minimal VST 2.4 host that drives the built plug-in through its exported entry point
// and AEffect record only, the way a real host does: one whole session, with checks.
//
//   vsthost PLUGIN [SEED_FOLDER]
//   vsthost PLUGIN --settings
//
// Prints one line per failed check and closes with "vsthost: N passed, M failed"; exits
// non-zero when a check failed. With SEED_FOLDER it also writes the chunks it exchanged
// there, as seeds for the chunk fuzzer (first byte: bit 0 set for a program chunk). With
// --settings it checks only that the plug-in follows the settings file that
// "settings-dump write" made.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/ToolCommands.h"
#include "host/Vst2.h"
#include "platform/DynamicLibrary.h"
#include "tests/vsthost/HostChecks.h"

namespace {

using Bytes = std::vector<unsigned char>;
using EntryPoint = AEffect*(VST_CALLBACK*)(HostCallback);

constexpr int kBlock = 256;
constexpr int32_t kCutoff = 23;  // "VCF Cutoff"
constexpr int32_t kMode = 4;     // "Mode", a list parameter

HostChecks checks;

void Check(bool condition, const std::string& what) {
  checks.Check(condition, what);
}

// What the host tells the plug-in, and what it counts of the plug-in's calls.
VstTimeInfo transport{};
int automations = 0;
int midiOut = 0;

VstIntPtr VST_CALLBACK AnswerPlugin(AEffect*, int32_t opcode, int32_t, VstIntPtr, void* ptr,
                                    float) {
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterAutomate:
      ++automations;
      return 0;
    case audioMasterGetTime:
      return reinterpret_cast<VstIntPtr>(&transport);
    case audioMasterProcessEvents:
      ++midiOut;
      return 1;
    case audioMasterGetProductString:
      std::strcpy(static_cast<char*>(ptr), "Tarsyn7 Test Host");
      return 1;
    case audioMasterGetVendorString:
      std::strcpy(static_cast<char*>(ptr), "Corvane Test");
      return 1;
    case audioMasterGetVendorVersion:
      return 10000;
    default:
      return 0;
  }
}

VstIntPtr Dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string Text(AEffect* effect, int32_t opcode, int32_t index = 0) {
  char text[256] = {};
  Dispatch(effect, opcode, index, 0, text);
  return text;
}

Bytes GetChunk(AEffect* effect, int32_t index) {
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effect, effGetChunk, index, 0, &data);
  if (size <= 0 || !data) return {};
  const auto* bytes = static_cast<const unsigned char*>(data);
  return Bytes(bytes, bytes + size);
}

VstIntPtr SetChunk(AEffect* effect, int32_t index, Bytes bytes) {
  return Dispatch(effect, effSetChunk, index, static_cast<VstIntPtr>(bytes.size()), bytes.data());
}

void SendMidi(AEffect* effect, std::vector<VstMidiEvent> notes) {
  struct {
    int32_t numEvents;
    VstIntPtr reserved;
    VstEvent* events[16];
  } list{static_cast<int32_t>(notes.size()), 0, {}};
  for (size_t i = 0; i < notes.size() && i < 16; ++i) {
    list.events[i] = reinterpret_cast<VstEvent*>(&notes[i]);
  }
  Check(Dispatch(effect, effProcessEvents, 0, 0, &list) == 1, "MIDI events taken");
}

VstMidiEvent Note(int status, int key, int velocity, int offset) {
  return MidiEventOf(offset, static_cast<uint8_t>(status), static_cast<uint8_t>(key),
                     static_cast<uint8_t>(velocity));
}

// Renders blocks with all three process callbacks; answers whether every sample was finite.
bool RenderAllWays(AEffect* effect, int blocks) {
  std::vector<float> input(kBlock, 0.0f), left(kBlock), right(kBlock);
  std::vector<double> wideInput(kBlock, 0.0), wideLeft(kBlock), wideRight(kBlock);
  float* inputs[] = {input.data()};
  float* outputs[] = {left.data(), right.data()};
  double* wideInputs[] = {wideInput.data()};
  double* wideOutputs[] = {wideLeft.data(), wideRight.data()};
  bool finite = true;
  for (int block = 0; block < blocks; ++block) {
    switch (block % 3) {
      case 0:
        effect->processReplacing(effect, inputs, outputs, kBlock);
        break;
      case 1:
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
        effect->process(effect, inputs, outputs, kBlock);
        break;
      default:
        effect->processDoubleReplacing(effect, wideInputs, wideOutputs, kBlock);
        for (int i = 0; i < kBlock; ++i) {
          left[static_cast<size_t>(i)] = static_cast<float>(wideLeft[static_cast<size_t>(i)]);
          right[static_cast<size_t>(i)] = static_cast<float>(wideRight[static_cast<size_t>(i)]);
        }
    }
    for (int i = 0; i < kBlock; ++i) {
      finite = finite && std::isfinite(left[static_cast<size_t>(i)]) &&
               std::isfinite(right[static_cast<size_t>(i)]);
    }
  }
  return finite;
}

void CheckRecord(AEffect* effect) {
  Check(effect->magic == kEffectMagic, "magic VstP");
  Check(effect->flags == 0x1139, "flags, with the editor");
  Check(effect->uniqueID == 0x74737937, "unique ID tsy7");
  Check(effect->version == 20501, "version 20501");
  Check(effect->numPrograms == 64 && effect->numParams == 80, "64 programs, 80 parameters");
  Check(effect->numInputs == 1 && effect->numOutputs == 2, "one input, two outputs");
  Check(effect->processReplacing && effect->processDoubleReplacing && effect->process,
        "process callbacks");
}

void OpenAndDescribe(AEffect* effect) {
  Dispatch(effect, effOpen);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  Dispatch(effect, effSetBlockSize, 0, kBlock);
  Dispatch(effect, effMainsChanged, 0, 1);
  Check(Text(effect, effGetEffectName) == "Tarsyn7", "effect name");
  Check(Text(effect, effGetVendorString) == "Corvane Music", "vendor");
  Check(Dispatch(effect, effGetPlugCategory) == 2, "instrument category");
  Check(Dispatch(effect, effCanDo, 0, 0, const_cast<char*>("receiveVstEvents")) == 1,
        "receives MIDI");
  VstPinProperties pin{};
  Check(Dispatch(effect, effGetOutputProperties, 0, 0, &pin) == 1 &&
            std::strcmp(pin.label, "Tarsyn7 Left ") == 0,
        "left output pin");
  bool named = true;
  for (int32_t i = 0; i < effect->numParams; ++i) {
    named = named && !Text(effect, effGetParamName, i).empty() &&
            !Text(effect, effGetParamDisplay, i).empty();
  }
  Check(named, "every parameter has a name and a display text");
}

void PlayNotes(AEffect* effect) {
  transport.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
  transport.tempo = 128.0;
  transport.sampleRate = 48000.0;
  SendMidi(effect, {Note(0x90, 60, 100, 0), Note(0x90, 64, 90, 10), Note(0x90, 67, 80, 200)});
  Check(RenderAllWays(effect, 30), "rendering with notes held is finite");
  SendMidi(effect, {Note(0xB0, 1, 127, 0), Note(0xE0, 0, 127, 5), Note(0xB0, 64, 127, 7)});
  Check(RenderAllWays(effect, 9), "rendering with wheel, bend and pedal is finite");
  SendMidi(effect, {Note(0x80, 60, 0, 0), Note(0x80, 64, 0, 0), Note(0x80, 67, 0, 0),
                    Note(0xB0, 64, 0, 3)});
  Check(RenderAllWays(effect, 30), "rendering the releases is finite");
}

void Automate(AEffect* effect) {
  bool inRange = true;
  for (int32_t i = 0; i < effect->numParams; ++i) {
    effect->setParameter(effect, i, static_cast<float>((i % 7) / 6.0));
    const float value = effect->getParameter(effect, i);
    inRange = inRange && value >= 0.0f && value <= 1.0f;
  }
  Check(inRange, "automated values read back within 0..1");
  effect->setParameter(effect, kCutoff, 0.25f);
  Check(std::fabs(effect->getParameter(effect, kCutoff) - 0.25f) < 1e-6f, "cutoff automated");
  Check(Dispatch(effect, effString2Parameter, kMode, 0, const_cast<char*>("Chord")) == 1 &&
            effect->getParameter(effect, kMode) == 1.0f,
        "mode entered as text");
  Check(RenderAllWays(effect, 6), "rendering after automation is finite");
}

void SwitchPrograms(AEffect* effect) {
  bool switched = true;
  for (int32_t program = 0; program < effect->numPrograms; ++program) {
    Dispatch(effect, effSetProgram, 0, program);
    switched = switched && Dispatch(effect, effGetProgram) == program;
    char name[kVstMaxProgramNameLength] = {};
    switched = switched && Dispatch(effect, effGetProgramNameIndexed, program, 0, name) == 1;
  }
  Check(switched, "every program selected and named");
  Dispatch(effect, effSetProgram, 0, 2);
  Dispatch(effect, effSetProgramName, 0, 0, const_cast<char*>("Host Named"));
  Check(Text(effect, effGetProgramName) == "Host Named", "program renamed");
}

// Cutoff of every program, read by selecting each.
std::vector<float> ProgramCutoffs(AEffect* effect) {
  std::vector<float> cutoffs;
  for (int32_t program = 0; program < effect->numPrograms; ++program) {
    Dispatch(effect, effSetProgram, 0, program);
    cutoffs.push_back(effect->getParameter(effect, kCutoff));
  }
  return cutoffs;
}

void ExchangeChunks(AEffect* effect, AEffect* second, std::vector<Bytes>& seeds) {
  Dispatch(effect, effSetProgram, 0, 5);
  effect->setParameter(effect, kCutoff, 0.75f);
  const Bytes program = GetChunk(effect, 1);
  Check(program.size() > 8 && std::memcmp(program.data(), "tffp", 4) == 0, "program chunk");
  effect->setParameter(effect, kCutoff, 0.1f);
  Check(SetChunk(effect, 1, program) == 1, "program chunk taken back");
  Check(effect->getParameter(effect, kCutoff) == 0.75f, "program chunk restores the value");
  Check(SetChunk(second, 1, program) == 1 && second->getParameter(second, kCutoff) == 0.75f,
        "program chunk moves to a second instance");

  for (int32_t i = 0; i < effect->numPrograms; ++i) {
    Dispatch(effect, effSetProgram, 0, i);
    effect->setParameter(effect, kCutoff, static_cast<float>(i) / 99.0f);
  }
  const std::vector<float> cutoffs = ProgramCutoffs(effect);
  const Bytes bank = GetChunk(effect, 0);
  Check(bank.size() > 64 * 600, "bank chunk holds 64 programs");
  Check(SetChunk(second, 0, bank) == 1, "bank chunk taken by a second instance");
  Check(ProgramCutoffs(second) == cutoffs, "bank chunk restores all 64 programs");

  Bytes cut(bank.begin(), bank.begin() + static_cast<std::ptrdiff_t>(bank.size() / 2));
  Check(SetChunk(second, 0, cut) == 0, "bank chunk cut short refused");
  Check(ProgramCutoffs(second) == cutoffs, "refused bank leaves every program");
  seeds = {program, bank};
}

void WriteSeeds(const std::string& folder, const std::vector<Bytes>& chunks) {
  int count = 0;
  for (const Bytes& chunk : chunks) {
    for (unsigned char selector : {0, 1, 2, 3}) {
      std::ofstream file(folder + "/seed-" + std::to_string(count++), std::ios::binary);
      file.put(static_cast<char>(selector));
      file.write(reinterpret_cast<const char*>(chunk.data()),
                 static_cast<std::streamsize>(chunk.size()));
      Check(file.good(), "seed written");
    }
  }
}

}  // namespace

std::string ProgramName(AEffect* effect, int32_t program) {
  char name[kVstMaxProgramNameLength] = {};
  Dispatch(effect, effGetProgramNameIndexed, program, 0, name);
  return name;
}

// The factory banks are found inside the plug-in file: a new instance holds the Poly-800's
// programs, and the maker's bank ("INIT" last) is restored through the command the maker's
// tools send (effVendorSpecific, index "tsy7", value 6).
void CheckFactoryBanks(AEffect* effect) {
  Check(ProgramName(effect, 0) == "Strings" && ProgramName(effect, 63) == "UFO Swoop",
        "a new instance holds the factory bank LEGACY");
  Check(
      Dispatch(effect, effVendorSpecific, 0x74737937, 6) == 1 && ProgramName(effect, 63) == "INIT",
      "the factory bank PROGDATA restores");
}

// Paths are UTF-8 inside the plug-in on every system: a bank saved under a name beyond
// ASCII carries that very name, and loads back from it.
void KeepBankUnderUnicodeName(AEffect* effect) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path file =
      fs::temp_directory_path(error) / fs::u8path("Tarsyn7 B\xc3\xa4nke \xe2\x99\xaa.fxb");
  std::string path = file.u8string();
  auto command = [&](int32_t which) {
    return Dispatch(effect, effVendorSpecific, ToolCommands::kIndex, which, &path[0]);
  };
  Check(command(ToolCommands::kSaveBankFile) == 1 && fs::exists(file, error),
        "a bank saved under a name beyond ASCII has that name");
  Check(command(ToolCommands::kLoadBankFile) == 1, "and loads back from it");
  fs::remove(file, error);
}

// The file binds controller 74 to "VCF Cutoff", turns MIDI thru on and program changes off.
void FollowSettingsFile(AEffect* effect) {
  OpenAndDescribe(effect);
  const int sentBefore = midiOut;
  SendMidi(effect, {Note(0xB0, 74, 0, 0), Note(0xC0, 5, 0, 1), Note(0x90, 60, 100, 2)});
  RenderAllWays(effect, 2);
  Check(effect->getParameter(effect, kCutoff) == 0.0f, "controller 74 moves VCF Cutoff");
  Check(midiOut > sentBefore, "MIDI thru on");
  Check(Dispatch(effect, effGetProgram) == 0, "program change ignored");
  Dispatch(effect, effClose);
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: vsthost PLUGIN [SEED_FOLDER | --settings]\n");
    return 2;
  }
  DynamicLibrary library(argv[1]);
  if (!library.Loaded()) {
    std::printf("cannot load %s: %s\n", argv[1], library.Error().c_str());
    return 1;
  }
  auto entry = reinterpret_cast<EntryPoint>(library.Symbol("VSTPluginMain"));
  if (!entry) entry = reinterpret_cast<EntryPoint>(library.Symbol("main"));
  Check(entry != nullptr, "entry point exported");
  if (!entry) return 1;

  if (argc > 2 && std::string(argv[2]) == "--settings") {
    AEffect* effect = entry(&AnswerPlugin);
    Check(effect != nullptr, "plug-in created");
    if (effect) FollowSettingsFile(effect);
    return checks.Summary("vsthost");
  }
  AEffect* effect = entry(&AnswerPlugin);
  AEffect* second = entry(&AnswerPlugin);
  Check(effect && second, "plug-in created");
  if (!effect || !second) return 1;
  CheckRecord(effect);
  OpenAndDescribe(effect);
  OpenAndDescribe(second);
  PlayNotes(effect);
  Automate(effect);
  SwitchPrograms(effect);
  std::vector<Bytes> chunks;
  ExchangeChunks(effect, second, chunks);
  Check(RenderAllWays(effect, 3) && RenderAllWays(second, 3), "rendering after chunks");
  if (argc > 2) WriteSeeds(argv[2], chunks);
  Dispatch(effect, effMainsChanged, 0, 0);
  Dispatch(second, effMainsChanged, 0, 0);
  Dispatch(effect, effClose);
  Dispatch(second, effClose);

  AEffect* hostless = entry(nullptr);
  Check(hostless && RenderAllWays(hostless, 3), "a plug-in without host callback renders");
  if (hostless) CheckFactoryBanks(hostless);
  if (hostless) KeepBankUnderUnicodeName(hostless);
  if (hostless) Dispatch(hostless, effClose);

  return checks.Summary("vsthost");
}
