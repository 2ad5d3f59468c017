#pragma once

#include <optional>
#include <string>

#include "control/MidiLearn.h"
#include "platform/IniFile.h"
#include "programs/TapeReadSettings.h"

// The per-user settings kept in the INI file "tarsyn7.ini": startup bank, program-files
// folder, "Show Parameters", the three MIDI switches, the controller map and (process-wide)
// the tape reader's settings. Reading and writing never throw and never touch the file
// system unless asked; a configuration without a file path keeps its settings in memory.
class Configuration {
 public:
  // What `Write` stores; it leaves every other key of the file alone.
  enum Setting {
    kShowParameters,
    kMidiThru,
    kIgnoreProgramChange,
    kUseBreathController,
    kTapeRead,            // the five "Tape Read" keys
    kControllerMap,       // the section "MIDI Control"
    kStartupBank,         // the section "Startup Bank"
    kProgramFilesFolder,  // "Path to Program Files"
    kEverything,          // "Save Configuration": all above but the program-files folder
  };

  // "<local application data>/CorvaneMusic/tarsyn7.ini". Creates the missing folders and
  // an empty file. Empty when the system names no application-data folder.
  static std::string StandardFilePath();

  explicit Configuration(std::string filePath = {});

  const std::string& FilePath() const { return filePath_; }

  // The file's contents; none when there is no path or the file cannot be read.
  std::optional<IniFile> ReadFile() const;
  // Takes every key of the file over these settings. Keys absent or empty leave a setting
  // as it is, except the startup bank and the controller map, which the file gives whole.
  // Also replaces the process's tape settings.
  void Apply(const IniFile& file);
  // ReadFile and Apply; false and nothing changed when the file cannot be read.
  bool Read();

  // Writes the chosen settings into the file, keeping everything else in it. False when
  // nothing was written (no path, the file could not be read or replaced, a value holds a
  // line break).
  bool Write(Setting which) const;

  // Path of the FXB file loaded at start; empty for none.
  const std::string& StartupBank() const { return startupBank_; }
  void SetStartupBank(const std::string& path) { startupBank_ = path; }
  // Starting folder of the program and bank file dialogs.
  const std::string& ProgramFilesFolder() const { return programFilesFolder_; }
  void SetProgramFilesFolder(const std::string& folder) { programFilesFolder_ = folder; }

  bool ShowParameters() const { return showParameters_; }
  void SetShowParameters(bool on) { showParameters_ = on; }
  bool MidiThru() const { return midiThru_; }
  void SetMidiThru(bool on) { midiThru_ = on; }
  bool IgnoreProgramChange() const { return ignoreProgramChange_; }
  void SetIgnoreProgramChange(bool on) { ignoreProgramChange_ = on; }
  // "Use Breath Controller for MG to VCF".
  bool UseBreathController() const { return useBreathController_; }
  void SetUseBreathController(bool on) { useBreathController_ = on; }

  // The four switches above by their Setting; for any other, false and nothing changes.
  bool Switch(Setting which) const;
  void SetSwitch(Setting which, bool on);

  ControllerMap& Controllers() { return controllers_; }
  const ControllerMap& Controllers() const { return controllers_; }

 private:
  bool Store(Setting which, IniFile& file) const;
  const bool* SwitchMember(Setting which) const;

  std::string filePath_;
  std::string startupBank_;
  std::string programFilesFolder_;
  bool showParameters_ = false;
  bool midiThru_ = false;
  bool ignoreProgramChange_ = false;
  bool useBreathController_ = false;
  ControllerMap controllers_;
};
