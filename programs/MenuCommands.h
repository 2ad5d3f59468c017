#pragma once

#include <string>

#include "editor/GraphicsBackEnd.h"
#include "update/UpdateCheck.h"

class IGraphics;
class Tarsyn7;

// Carries out one command of the main menu by its number: asks its questions, lets the
// user choose its file and reports the outcome through the editor's dialogs, and leaves
// the work to the instrument's operations. A cancelled dialog or a "no" changes nothing.
// Runs on the editor's thread; the operations take the instrument's lock themselves.
class MenuCommands {
 public:
  MenuCommands(Tarsyn7& plug, IGraphics& graphics, const UpdateServer& updateServer)
      : plug_(plug), graphics_(graphics), updateServer_(updateServer) {}
  void Run(int command);

 private:
  bool Confirm(const std::string& text, const std::string& caption);
  bool ConfirmAbout(const std::string& what, const std::string& path, const std::string& question,
                    const std::string& caption);
  // The chosen file's path, empty when cancelled.
  std::string AskForFile(GraphicsBackEnd::FileMode mode, const std::string& extension,
                         const std::string& folder, const std::string& suggestedName = {});
  void ReportFailure(bool done, const char* text);

  void Paste(int command);
  void LoadProgram(int command);
  void SaveProgram();
  void LoadBank();
  void RestoreFactoryBank(bool poly800);
  void SaveBank();
  void LoadSysEx(bool sequence);
  void SaveSysEx(int command);
  void ShowTapeDialog(int command);
  void SelectStartupBank();
  void LoadStartupBank();
  void UnselectStartupBank();
  void ChooseProgramFilesFolder();
  void ReloadConfiguration();
  void SaveConfiguration();
  void ShowAllParameters();

  Tarsyn7& plug_;
  IGraphics& graphics_;
  const UpdateServer& updateServer_;
};
