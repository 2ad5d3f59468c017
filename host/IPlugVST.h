#pragma once

#include "host/IPlugBase.h"
#include "host/Vst2.h"

// The VST 2.4 layer: owns the published AEffect record and talks to the host callback.
class IPlugVST : public IPlugBase {
 public:
  IPlugVST(HostCallback host, int parameterCount, int presetCount, const char* channelString,
           const PlugIdentity& identity);
  ~IPlugVST() override;

  AEffect* Effect() { return &effect_; }
  HostCallback Host() const { return host_; }
  // The plug-in version as hosts count it: major * 10000 + minor * 100 + patch.
  int32_t VstVersion() const;

  void HostBeginGesture(int index) override;
  void HostParameterChanged(int index, double normalized) override;
  void HostEndGesture(int index) override;
  void HostProgramChanged() override;
  bool HostIsOffline() override;
  int HostSamplePosition() override;
  double HostTempo() override;
  void HostTimeSignature(int& numerator, int& denominator) override;
  void ReadHostTime(TimeInfo& info) override;
  int IdentifyHost() override;
  void EditorResized(int width, int height) override;
  void HostOpened() override;
  void AttachEditor(IGraphics* editor) override;
  void SetProcessingDelay(int frames) override;
  bool SendMidi(const MidiMessage& message) override;
  bool SendSysExData(const SysExMessage& message) override;

  const ERect& EditorRect() const { return editorRect_; }

 private:
  VstIntPtr CallHost(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  const VstTimeInfo* HostTimeInfo(int32_t filter);
  void FillEffect();

  HostCallback host_;
  AEffect effect_{};
  ERect editorRect_{};
};
