#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/ChannelPin.h"
#include "host/MidiMessage.h"
#include "host/Parameter.h"
#include "host/Preset.h"
#include "host/TimeInfo.h"
#include "platform/ReentrantLock.h"
#include "programs/ChunkBuffer.h"

class IGraphics;

// Identity of a plug-in as the host sees it.
struct PlugIdentity {
  std::string effectName;
  std::string productString;
  std::string vendorString;
  int32_t version;   // major in bits 16-31, minor 8-15, patch 0-7
  int32_t uniqueId;  // four characters packed big-endian
  int32_t manufacturerId;
};

// Packs four characters big-endian, first character in the top byte.
constexpr int32_t FourCharacters(const char (&text)[5]) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8) |
                              static_cast<uint32_t>(static_cast<uint8_t>(text[3])));
}

// The format-independent base of the plug-in: parameters, program slots, audio pins and
// the virtual operations through which the host layer, the engine and the editor talk.
// One re-entrant lock per object guards all of it.
class IPlugBase {
 public:
  IPlugBase(int parameterCount, int presetCount, const char* channelString,
            const PlugIdentity& identity);
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // Virtual operations, in their fixed order.
  virtual ~IPlugBase();
  virtual void ResetProcessing();
  virtual void ParameterChanged(int index);
  virtual void RenderBlock(double** inputs, double** outputs, int frames);
  virtual void EditorOpened() {}
  virtual void EditorClosed() {}
  virtual void IdleTick() {}
  virtual void ActivationChanged(bool active);
  virtual void HandleMidiMessage(const MidiMessage& message);
  virtual void HandleSysEx(const SysExMessage& message);
  virtual bool NameOfKey(int key, std::string& text);
  virtual bool WriteState(ChunkBuffer& chunk);
  virtual int ReadState(const ChunkBuffer& chunk, int position);
  virtual bool StateMatches(const ChunkBuffer& chunk, int position);
  virtual void AfterEditorResized() {}
  virtual bool ReservedAnsweringFalse() { return false; }  // unused slot, keeps the order
  virtual void AfterHostOpened() {}
  virtual void ReservedHook() {}  // unused slot, keeps the order
  virtual void SetParameterFromEditor(int index, double normalized);
  virtual void HostBeginGesture(int index) = 0;
  virtual void HostParameterChanged(int index, double normalized) = 0;
  virtual void HostEndGesture(int index) = 0;
  virtual void HostProgramChanged() = 0;
  virtual bool HostIsOffline() = 0;
  virtual double HostSamplePosition() = 0;  // whole samples; long sessions pass 2^31
  virtual double HostTempo() = 0;
  virtual void HostTimeSignature(int& numerator, int& denominator) = 0;
  virtual void ReadHostTime(TimeInfo& info) = 0;
  virtual int IdentifyHost();
  virtual int ReservedAnsweringZero() { return 0; }  // unused slot, keeps the order
  virtual void EditorResized(int width, int height) = 0;
  virtual void HostOpened() = 0;
  virtual void AttachEditor(IGraphics* editor);
  virtual void SetProcessingDelay(int frames);
  virtual bool SendMidi(const MidiMessage& message) = 0;
  virtual bool SendSysExData(const SysExMessage& message) = 0;
  virtual void RefreshControls();
  virtual int UnserializePresets(const ChunkBuffer& chunk, int position);
  virtual void ModifyCurrentPreset(const char* name = nullptr);
  virtual void ReservedPresetHook() {}  // unused slot, keeps the order
  virtual void ProgramListChanged() {}
  virtual void ChangeSampleRate(double rate);
  virtual void ChangeBlockSize(int frames);

  // Parameters. Out-of-range indices answer nullptr and change nothing.
  int ParameterCount() const { return static_cast<int>(parameters_.size()); }
  Parameter* GetParameter(int index);
  const Parameter* GetParameter(int index) const;
  std::string ParameterDisplayText(int index) const;
  // Tells the host every parameter's normalised value.
  void TellHostAllParameters();

  // Presets.
  int PresetCount() const { return static_cast<int>(presets_.size()); }
  int CurrentPreset() const { return currentPreset_; }
  Preset* GetPreset(int index);
  std::string PresetName(int index) const;  // empty for an index out of range
  bool RecallPreset(int index);
  bool SerializePresets(ChunkBuffer& chunk);

  // Base state record: the plain parameter values in index order.
  bool SerializeParams(ChunkBuffer& chunk);
  int UnserializeParams(const ChunkBuffer& chunk, int position);

  // Audio pins.
  bool LegalIO(int inputs, int outputs) const;
  int InputCount() const { return static_cast<int>(inputPins_.size()); }
  int OutputCount() const { return static_cast<int>(outputPins_.size()); }
  ChannelPin& InputPin(int index) { return inputPins_[index]; }
  ChannelPin& OutputPin(int index) { return outputPins_[index]; }
  double** InputPointers() { return inputPointers_.data(); }
  double** OutputPointers() { return outputPointers_.data(); }
  const std::vector<std::pair<int, int>>& ChannelPairs() const { return channelPairs_; }

  double SampleRate() const { return sampleRate_; }
  int BlockSize() const { return blockSize_; }
  static constexpr int kMaxScratchFrames = 65536;
  int ScratchFrames() const { return scratchFrames_; }  // length of every pin's scratch buffer
  int Latency() const { return latency_; }
  int TailSize() const { return tailSize_; }
  int HostVersion() const { return hostVersion_; }  // 0 until the host is identified
  const PlugIdentity& Identity() const { return identity_; }
  int32_t ManufacturerId() const { return identity_.manufacturerId; }
  bool DoesChunks() const { return true; }
  bool IsInstrument() const { return true; }
  bool DoesMidi() const { return true; }
  IGraphics* Editor() const { return editor_; }
  ReentrantLock& Lock() { return lock_; }

 protected:
  int hostKind_ = -1;
  int hostVersion_ = 0;
  int currentPreset_ = 0;

 private:
  void ParseChannelString(const char* channelString);
  void CreatePins();

  ReentrantLock lock_;
  PlugIdentity identity_;
  double sampleRate_ = 44100.0;
  int blockSize_ = 0;
  int scratchFrames_ = 0;
  int latency_ = 0;
  int tailSize_ = 0;
  std::vector<Parameter> parameters_;
  std::vector<Preset> presets_;
  std::vector<std::pair<int, int>> channelPairs_;
  std::vector<ChannelPin> inputPins_;
  std::vector<ChannelPin> outputPins_;
  std::vector<double*> inputPointers_;
  std::vector<double*> outputPointers_;
  IGraphics* editor_ = nullptr;
};
