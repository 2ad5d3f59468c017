#pragma once

#include <string>

#include "editor/InfoLineState.h"
#include "editor/PanelDisplayState.h"

class IGraphics;

// What the front panel's own controls ask of the instrument beyond its parameters. The
// editor calls it on its own thread; the instrument takes its lock inside.
class PanelPlug {
 public:
  virtual ~PanelPlug() = default;

  // The programmer (front-panel push buttons, display, chart columns).
  virtual void PanelCommand(int code) = 0;
  virtual PanelDisplayState DisplayState() = 0;
  virtual void SelectParameter(int index) = 0;
  // START/STOP would erase the recorded sequence (armed for recording, steps present).
  virtual bool StartWouldEraseSequence() = 0;

  // The sequencer's record switch.
  virtual bool RecordArmed() = 0;
  virtual void SetRecordEnabled(bool on) = 0;

  virtual InfoLineState InfoLine() = 0;
  // "Micro Tuning: <name>" while a tuning source is active, else empty.
  virtual std::string TuningDescription() = 0;

  // Settings the panel shows and switches.
  virtual bool UsesBreathController() = 0;
  virtual void FlipBreathController() = 0;
  virtual bool ShowsAllParameters() = 0;

  // MIDI learn: arms learning (or forgetting) a binding, or disarms.
  virtual void ArmMidiLearn(bool on, bool forget) = 0;
  virtual bool MidiLearnArmed() = 0;

  // The current program's name, and its renaming from the panel.
  virtual std::string CurrentProgramName() = 0;
  virtual void RenameCurrentProgram(const std::string& name) = 0;

  // The main menu, opened at window point (x, y).
  virtual void OpenMainMenu(IGraphics& graphics, int x, int y) = 0;

  // Reads a cassette recording (`mode` 42 programs, 43 a sequence). False with the
  // reason in `error`; `isPoly800II` tells which model's programs were read.
  virtual bool LoadTape(int mode, const std::string& path, bool& isPoly800II,
                        std::string& error) = 0;
  // The folder file dialogs for the tape start in; the chosen folder is remembered.
  virtual std::string DocumentsFolder() = 0;
  virtual void SetDocumentsFolder(const std::string& folder) = 0;
};
