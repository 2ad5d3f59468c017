#include "programs/MenuCommands.h"

#include "editor/IGraphics.h"
#include "editor/IZKTapeLoadDialog.h"
#include "editor/MainMenu.h"
#include "engine/Tarsyn7.h"
#include "platform/FilePath.h"
#include "programs/ProgramCommands.h"
#include "programs/SysEx.h"

using namespace MainMenu;

namespace {

constexpr const char* kCannotLoad = "Cannot load file!";
constexpr const char* kCannotSave = "Cannot save file!";
constexpr const char* kDefaultFileName = "Tarsyn7";
constexpr const char* kSettingsFile = "The INI configuration file is:\n";

}  // namespace

void Tarsyn7::RunMenuCommand(int command) {
  if (IGraphics* graphics = GetEditor()) MenuCommands(*this, *graphics, updateServer_).Run(command);
}

void MenuCommands::Run(int command) {
  switch (command) {
    case kCopyProgram:
      plug_.CopyProgram();
      break;
    case kPasteFullProgram:
    case kPasteSoundOnly:
    case kPasteSequenceOnly:
      Paste(command);
      break;
    case kInitProgram:
      if (Confirm("Do you really want to initialize the current program?", "Initialize Program")) {
        plug_.InitProgram();
      }
      break;
    case kLoadFullProgram:
    case kLoadSoundOnly:
    case kLoadSequenceOnly:
      LoadProgram(command);
      break;
    case kSaveProgram:
      SaveProgram();
      break;
    case kLoadBankFile:
      LoadBank();
      break;
    case kRestorePoly800Sounds:
    case kRestoreCorvaneSounds:
      RestoreFactoryBank(command == kRestorePoly800Sounds);
      break;
    case kSaveBank:
      SaveBank();
      break;
    case kLoadSysExBank:
    case kLoadSysExSequence:
      LoadSysEx(command == kLoadSysExSequence);
      break;
    case kSaveSysExEx800:
    case kSaveSysExMidiDumpKit:
    case kSaveSysExPoly800II:
      SaveSysEx(command);
      break;
    case kLoadTapeBank:
    case kLoadTapeSequence:
      ShowTapeDialog(command);
      break;
    case kSelectStartupBank:
      SelectStartupBank();
      break;
    case kLoadStartupBank:
      LoadStartupBank();
      break;
    case kUnselectStartupBank:
      UnselectStartupBank();
      break;
    case kProgramFilesFolder:
      ChooseProgramFilesFolder();
      break;
    case kMidiThru:
      plug_.FlipSwitch(Configuration::kMidiThru);
      break;
    case kIgnoreProgramChange:
      plug_.FlipSwitch(Configuration::kIgnoreProgramChange);
      break;
    case kUseBreathController:
      plug_.FlipSwitch(Configuration::kUseBreathController);
      break;
    case kReloadConfiguration:
      ReloadConfiguration();
      break;
    case kSaveConfiguration:
      SaveConfiguration();
      break;
    case kShowAllParameters:
      ShowAllParameters();
      break;
    case kCheckForUpdate:
      UpdateCheck(updateServer_).Run(graphics_);
      break;
    default:
      break;  // separators, submenu entries, the web page (the menu opens it itself)
  }
}

// Only a "yes" goes on: a box closed any other way changes nothing.
bool MenuCommands::Confirm(const std::string& text, const std::string& caption) {
  return graphics_.ShowMessage(text, caption, GraphicsBackEnd::kYesNo) ==
         GraphicsBackEnd::kAnswerYes;
}

// "<what> is:\n<path>\n\nDo you really want to <question>"
bool MenuCommands::ConfirmAbout(const std::string& what, const std::string& path,
                                const std::string& question, const std::string& caption) {
  return Confirm(what + path + "\n\nDo you really want to " + question, caption);
}

std::string MenuCommands::AskForFile(GraphicsBackEnd::FileMode mode, const std::string& extension,
                                     const std::string& folder, const std::string& suggestedName) {
  std::string path = suggestedName;
  std::string directory = folder;
  graphics_.ChooseFile(path, mode, directory, extension);
  return path;
}

void MenuCommands::ReportFailure(bool done, const char* text) {
  if (!done) graphics_.ShowMessage(text, "Error", GraphicsBackEnd::kOkError);
}

void MenuCommands::Paste(int command) {
  static const char* const kQuestions[] = {
      "Do you really want to overwrite the current program?",
      "Do you really want to overwrite the sound data of the current program?",
      "Do you really want to overwrite the sequence data of the current program?"};
  if (!Confirm(kQuestions[command - kPasteFullProgram], "Paste Program")) return;
  if (command == kPasteSequenceOnly) {
    plug_.PasteSequence();
  } else {
    plug_.PasteProgram(command == kPasteSoundOnly);
  }
}

void MenuCommands::LoadProgram(int command) {
  const std::string path = AskForFile(GraphicsBackEnd::kOpenFile, "fxp", plug_.ProgramFolder());
  if (path.empty()) return;
  plug_.RememberProgramFolder(FolderOfFile(path));
  ReportFailure(
      plug_.LoadProgramFile(path, command == kLoadSequenceOnly, command == kLoadSoundOnly),
      kCannotLoad);
}

void MenuCommands::SaveProgram() {
  const std::string path = AskForFile(GraphicsBackEnd::kSaveFile, "fxp", plug_.ProgramFolder(),
                                      ProposedProgramFileName(plug_.CurrentProgramName()));
  if (path.empty()) return;
  plug_.RememberProgramFolder(FolderOfFile(path));
  plug_.ModifyCurrentPreset();  // the slot takes the live state first
  ReportFailure(plug_.SaveProgramFile(path), kCannotSave);
}

void MenuCommands::LoadBank() {
  const std::string path = AskForFile(GraphicsBackEnd::kOpenFile, "fxb", plug_.ProgramFolder());
  if (path.empty()) return;
  plug_.RememberProgramFolder(FolderOfFile(path));
  ReportFailure(plug_.LoadBankFile(path), kCannotLoad);
}

void MenuCommands::RestoreFactoryBank(bool poly800) {
  const char* caption = poly800 ? kRestorePoly800Text : kRestoreCorvaneText;
  if (!Confirm("Do you really want to overwrite all programs?", caption)) return;
  ReportFailure(plug_.RestoreFactoryBank(poly800), kCannotLoad);
}

void MenuCommands::SaveBank() {
  const std::string path =
      AskForFile(GraphicsBackEnd::kSaveFile, "fxb", plug_.ProgramFolder(), kDefaultFileName);
  if (path.empty()) return;
  plug_.RememberProgramFolder(FolderOfFile(path));
  plug_.ModifyCurrentPreset();  // the slot takes the live state first
  ReportFailure(plug_.SaveBankFile(path), kCannotSave);
}

// The hardware's files start in the documents folder and leave the program folder alone.
void MenuCommands::LoadSysEx(bool sequence) {
  const std::string path = AskForFile(GraphicsBackEnd::kOpenFile, "syx", plug_.DocumentsFolder());
  if (path.empty()) return;
  std::string error;
  bool isPoly800II = false;
  if (sequence ? !plug_.LoadSysExSequence(path, error)
               : !plug_.LoadSysExBank(path, isPoly800II, error)) {
    ReportFailure(false, kCannotLoad);
  } else if (sequence) {
    graphics_.ShowMessage("Poly-800 I/II SysEx sequence was successfully loaded.",
                          "Poly-800 I/II SysEx Sequence Loaded", GraphicsBackEnd::kOkInformation);
  } else if (isPoly800II) {
    graphics_.ShowMessage(
        "Poly-800 II SysEx data was successfully loaded. Note that Delay and Equalizer "
        "settings are ignored.",
        "Poly-800II SysEx Data Loaded", GraphicsBackEnd::kOkInformation);
  } else {
    graphics_.ShowMessage("Poly/EX-800 SysEx data was successfully loaded.",
                          "Poly/EX-800 SysEx Data Loaded", GraphicsBackEnd::kOkInformation);
  }
}

void MenuCommands::SaveSysEx(int command) {
  static const int kModels[] = {kEx800, kMidiDumpKit, kPoly800II};
  const std::string path =
      AskForFile(GraphicsBackEnd::kSaveFile, "syx", plug_.DocumentsFolder(), kDefaultFileName);
  if (path.empty()) return;
  ReportFailure(plug_.SaveSysEx(path, kModels[command - kSaveSysExEx800]), kCannotSave);
}

// The dialog is part of the window, so it only opens there.
void MenuCommands::ShowTapeDialog(int command) {
  IZKTapeLoadDialog* dialog = plug_.Panel().tapeDialog;
  if (!graphics_.WindowIsOpen() || !dialog) return;
  dialog->Show(command == kLoadTapeSequence ? IZKTapeLoadDialog::kSequence
                                            : IZKTapeLoadDialog::kPrograms);
}

void MenuCommands::SelectStartupBank() {
  const std::string path = AskForFile(GraphicsBackEnd::kOpenFile, "fxb", plug_.ProgramFolder());
  if (!path.empty()) plug_.SetStartupBank(path);
}

void MenuCommands::LoadStartupBank() {
  const std::string path = plug_.Settings().StartupBank();
  if (!path.empty() &&
      ConfirmAbout("The Startup Bank is:\n", path, "reload all programs?", "Load Startup Bank")) {
    ReportFailure(plug_.LoadBankFile(path), kCannotLoad);
  }
}

void MenuCommands::UnselectStartupBank() {
  const std::string path = plug_.Settings().StartupBank();
  if (!path.empty() &&
      ConfirmAbout("The Startup Bank is:\n", path, "unselect it?", "Unselect Startup Bank")) {
    plug_.SetStartupBank("");
  }
}

void MenuCommands::ChooseProgramFilesFolder() {
  const std::string start =
      plug_.ProgramFolder().empty() ? plug_.DocumentsFolder() : plug_.ProgramFolder();
  const std::string folder =
      AskForFile(GraphicsBackEnd::kChooseFolder, "", start, "[file name is ignored]");
  if (folder.empty()) return;
  plug_.RememberProgramFolder(folder);
  plug_.SetProgramFilesFolder(folder);
}

void MenuCommands::ReloadConfiguration() {
  if (ConfirmAbout(kSettingsFile, plug_.ConfigurationFile(), "reload it?",
                   "Reload Configuration") &&
      !plug_.ReadConfiguration()) {
    graphics_.ShowMessage("The INI file does not exist.", "Problem with INI File",
                          GraphicsBackEnd::kOkError);
  }
}

// The settings file is written whole; a write that failed says so rather than pass for
// done.
void MenuCommands::SaveConfiguration() {
  if (ConfirmAbout(kSettingsFile, plug_.ConfigurationFile(), "overwrite it?",
                   "Save Configuration")) {
    ReportFailure(plug_.WriteConfiguration(Configuration::kEverything), kCannotSave);
  }
}

// The chart's faders show or hide at once, not only where the pointer passes.
void MenuCommands::ShowAllParameters() {
  plug_.FlipSwitch(Configuration::kShowParameters);
  for (int i = 0; graphics_.WindowIsOpen() && i < graphics_.ControlCount(); ++i) {
    graphics_.GetControl(i)->Redraw();
  }
}
