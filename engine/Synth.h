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
#include "programs/Configuration.h"

// The generic synthesizer layer: MIDI queue, host transport, configuration paths,
// controller map and MIDI learn, held keys, editor and microtuning client.
class Synth : public IPlugVST {
 public:
  static constexpr int kParameterCount = 80;
  static constexpr int kPresetCount = 64;
  static constexpr int kEditorWidth = 1054;
  static constexpr int kEditorHeight = 600;
  static constexpr double kLowestSampleRate = 8000.0;
  static constexpr double kHighestSampleRate = 768000.0;

  explicit Synth(HostCallback host);
  ~Synth() override;

  void ResetProcessing() override;
  void ChangeSampleRate(double rate) override;
  void ParameterChanged(int index) override;
  void ActivationChanged(bool active) override;
  void HandleMidiMessage(const MidiMessage& message) override;

  virtual IGraphics* GetEditor();
  virtual void ReleaseAllVoices() {}
  // Makes a stored program the live one and tells the host.
  virtual void LoadProgram(int index);

  int ControlPeriod() const { return controlPeriod_; }
  const HeldKeys& Held() const { return heldKeys_; }
  const std::string& ConfigurationFile() const { return configuration_.FilePath(); }
  const std::string& DocumentsPath() const { return documentsFolder_; }
  const MidiQueue& Queue() const { return midiQueue_; }
  MidiLearn& Learn() { return midiLearn_; }
  // The microtuning master's connection (its text for the display, and tests' hook).
  MicrotuningClient& Microtuning() { return microtuning_; }

  // Settings. All of these run on the editor's (or the building) thread; they take the
  // plug-in's lock only to read or change the values, never while touching the file.
  //
  // The settings as they are now (read them under the lock, or from the editor thread).
  const Configuration& Settings() const { return configuration_; }
  // Reads the file anew ("Reload Configuration"). False, nothing changed, when the file is
  // missing or unreadable. The startup bank is not loaded by this.
  bool ReadConfiguration();
  // Writes the chosen settings ("Save Configuration": kEverything). False when it failed.
  bool WriteConfiguration(Configuration::Setting which);
  // Flips one of the switches kShowParameters, kMidiThru, kIgnoreProgramChange or
  // kUseBreathController and writes it; answers the new state.
  bool FlipSwitch(Configuration::Setting which);
  // The startup-bank commands: remember the path (empty: none) and write that section.
  bool SetStartupBank(const std::string& path);
  // The folder of program and bank file dialogs, remembered and written.
  bool SetProgramFilesFolder(const std::string& folder);
  // Where the program and bank file dialogs start: the program-files folder at first, then
  // the folder of the last program or bank file chosen (the editor's thread only).
  const std::string& ProgramFolder() const { return lastFolder_; }
  void RememberProgramFolder(const std::string& folder) { lastFolder_ = folder; }

  // MIDI learn, for the editor's learn and forget switches: arms (or disarms) learning a
  // binding or forgetting one; the binding is written to the file at the next idle tick.
  void ArmLearn(bool on, bool forget);
  // The controller bound to a parameter (the lowest, when the file bound several), or -1.
  int ControllerOfParameter(int parameter);

  // Marks a re-application of every parameter (activation, program change, chunk): none
  // of its changes counts as the parameter half of a learn.
  class Reapplication {
   public:
    explicit Reapplication(Synth& synth);
    ~Reapplication();
    Reapplication(const Reapplication&) = delete;
    Reapplication& operator=(const Reapplication&) = delete;

   private:
    Synth& synth_;
  };

  void IdleTick() override;
  // The maker's tools: writes the panel's picture (host/ToolCommands.h).
  bool RunToolCommand(int32_t command, const void* data) override;

 protected:
  MidiQueue midiQueue_;
  TimeInfo timeInfo_;
  int controlCounter_ = 0;
  int controlPeriod_ = 44;
  std::string documentsFolder_;
  std::string lastFolder_;
  Configuration configuration_;
  MidiLearn midiLearn_{configuration_.Controllers()};
  int reapplying_ = 0;
  HeldKeys heldKeys_;
  std::unique_ptr<IGraphics> editor_;
  MicrotuningClient microtuning_;

 private:
  void WriteLearnedBindings();
};
