#pragma once

#include <memory>
#include <string>

#include "control/MicrotuningClient.h"
#include "control/MidiLearn.h"
#include "editor/IGraphics.h"
#include "engine/HeldKeys.h"
#include "engine/MidiQueue.h"
#include "host/IPlugVST.h"
#include "host/TimeInfo.h"

// The generic synthesizer layer: MIDI queue, host transport, configuration paths,
// controller map and MIDI learn, held keys, editor and microtuning client.
class Synth : public IPlugVST {
 public:
  static constexpr int kParameterCount = 80;
  static constexpr int kPresetCount = 64;
  static constexpr int kEditorWidth = 1054;
  static constexpr int kEditorHeight = 600;

  explicit Synth(HostCallback host);
  ~Synth() override;

  void ResetProcessing() override;
  void ParameterChanged(int index) override;
  void ActivationChanged(bool active) override;
  void HandleMidiMessage(const MidiMessage& message) override;

  virtual IGraphics* GetEditor();
  virtual void ReleaseAllVoices() {}
  // Makes a stored program the live one and tells the host.
  virtual void LoadProgram(int index);

  int ControlPeriod() const { return controlPeriod_; }
  const HeldKeys& Held() const { return heldKeys_; }
  const std::string& ConfigurationFile() const { return configurationFile_; }
  const std::string& DocumentsPath() const { return documentsFolder_; }
  const MidiQueue& Queue() const { return midiQueue_; }
  MidiLearn& Learn() { return midiLearn_; }

 protected:
  // Reads the per-user settings into this object.
  void ReadConfiguration();

  MidiQueue midiQueue_;
  TimeInfo timeInfo_;
  bool midiThru_ = false;
  bool ignoreProgramChange_ = false;
  bool breathToVcf_ = false;
  int controlCounter_ = 0;
  int controlPeriod_ = 44;
  std::string documentsFolder_;
  std::string configurationFile_;
  std::string startupBankPath_;
  std::string lastFolder_;
  MidiLearn midiLearn_;
  HeldKeys heldKeys_;
  std::unique_ptr<IGraphics> editor_;
  MicrotuningClient microtuning_;

 private:
  void SetUpConfigurationFile();
};
