#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/Vst2.h"
#include "tools/host/MidiFile.h"
#include "tools/host/PluginLibrary.h"

// A MIDI message or SysEx dump the plug-in sent during the last block.
struct SentEvent {
  int32_t deltaFrames;
  std::vector<uint8_t> bytes;
};

// The host side of one loaded VST 2.4 instrument: answers its calls the way a
// well-behaved offline host does (version 2400, rate and block size, transport, offline
// process level, vendor and product, collecting the MIDI it sends) and drives it.
class PluginHost {
 public:
  static constexpr const char* kVendor = "Corvane Music";
  static constexpr const char* kProduct = "Tarsyn7 Render";
  static constexpr int kVersion = 10000;  // 1.0.0

  // Loads and opens the plug-in; throws RenderError when the binary is none.
  explicit PluginHost(const std::string& path);
  ~PluginHost();
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  VstIntPtr Dispatch(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  const AEffect& Effect() const { return *effect_; }
  bool CanProcessDouble() const { return effect_->flags & effFlagsCanDoubleReplacing; }

  int ParameterCount() const { return effect_->numParams; }
  std::string ParameterName(int index);
  std::string ParameterDisplay(int index);
  std::string ParameterLabel(int index);
  float GetParameter(int index);
  void SetParameter(int index, float normalized);

  int ProgramCount() const { return effect_->numPrograms; }
  std::string ProgramName(int index);
  int CurrentProgram();
  void SetProgram(int index);

  // Sets the processing format; the plug-in stays suspended.
  void Prepare(double sampleRate, int maxBlockSize);
  void Resume();
  void Suspend();

  // The transport the plug-in reads for the following block.
  void SetTransport(const VstTimeInfo& time) { time_ = time; }
  // Hands the events to the plug-in, each at its offset in the coming block.
  void SendEvents(const std::vector<const MidiEvent*>& events, const std::vector<int32_t>& offsets);
  // Renders one block; Left() and Right() hold the result (mono plug-ins on both sides).
  void Process(int frames, bool doublePrecision);
  const double* Left() const { return left_.data(); }
  const double* Right() const { return right_.data(); }
  // What the plug-in sent since the last call.
  std::vector<SentEvent> TakeSentEvents();

 private:
  static VstIntPtr VST_CALLBACK Callback(AEffect* effect, int32_t opcode, int32_t index,
                                         VstIntPtr value, void* ptr, float opt);
  VstIntPtr Answer(int32_t opcode, int32_t index, void* ptr);
  VstIntPtr Collect(const VstEvents* events);
  std::string Text(int32_t opcode, int32_t index);

  std::unique_ptr<PluginLibrary> library_;
  AEffect* effect_ = nullptr;
  std::string folder_;
  double sampleRate_ = 44100.0;
  int blockSize_ = 512;
  bool resumed_ = false;
  VstTimeInfo time_{};
  std::vector<SentEvent> sent_;

  // The event list handed over last stays valid until the next block is processed.
  std::vector<VstMidiEvent> midiEvents_;
  std::vector<VstMidiSysexEvent> sysexEvents_;
  std::vector<VstIntPtr> eventList_;

  std::vector<std::vector<float>> floatBuffers_;
  std::vector<std::vector<double>> doubleBuffers_;
  std::vector<float*> floatPointers_;  // inputs first, then outputs
  std::vector<double*> doublePointers_;
  std::vector<double> left_;
  std::vector<double> right_;
};
