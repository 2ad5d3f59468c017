// The option button's menu on the instrument, through a window without a screen: its
// entries and their states, and every command it starts, answered, cancelled and failing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "editor/HeadlessBackEnd.h"
#include "editor/IZKTapeLoadDialog.h"
#include "editor/MainMenu.h"
#include "engine/Tarsyn7.h"
#include "tests/SettingsHome.h"

namespace {

namespace fs = std::filesystem;
using Answer = GraphicsBackEnd::MessageAnswer;
constexpr Answer kYes = GraphicsBackEnd::kAnswerYes;
constexpr MouseModifiers kLeft{true, false, false, false, false};

// The tree as text: "-" a separator, "=n" the command an entry gives when chosen, "#d"
// grayed, "#c" checked, braces a submenu.
std::string Dump(PopupMenu& top, const PopupMenu& menu) {
  std::string text;
  for (int i = 0; i < menu.ItemCount(); ++i) {
    const PopupMenuItem& item = menu.Item(i);
    const int command = MainMenu::CommandOf(top, top.Choose(menu.FirstId() + i));
    text += (i ? "|" : "") + (item.flags & PopupMenuItem::kSeparator ? "-" : item.text);
    if (command >= 0) text += "=" + std::to_string(command);
    if (!item.Enabled()) text += "#d";
    if (item.flags & PopupMenuItem::kChecked) text += "#c";
    if (item.submenu) text += "{" + Dump(top, *item.submenu) + "}";
  }
  return text;
}

class MainMenuTest : public SettingsHome {
 protected:
  void SetUp() override {
    SettingsHome::SetUp();
    plug = std::make_unique<Tarsyn7>(nullptr);
    plug->SetUpdateServer({"127.0.0.1", 1, 300});  // nobody listens there
    editor = plug->Editor();
    window = std::make_unique<HeadlessBackEnd>(*editor);
    ASSERT_TRUE(editor->OpenWindow(window.get()));
    files = folder_ / "files";
    fs::create_directories(files);
  }
  void TearDown() override {
    editor->CloseWindow();
    plug.reset();
    SettingsHome::TearDown();
  }

  // Clicks the option button and chooses the command's entry, then answers its dialogs.
  void Choose(int command, std::vector<Answer> answers = {}, const std::string& file = {}) {
    const Configuration& settings = plug->Settings();
    PopupMenu menu = MainMenu::Build({plug->HasCopiedProgram(), !settings.StartupBank().empty(),
                                      settings.MidiThru(), settings.IgnoreProgramChange(),
                                      settings.UseBreathController(), settings.ShowParameters()});
    menu.AssignIds();
    int id = 0;
    while (id < 64 && MainMenu::CommandOf(menu, menu.Choose(id)) != command) ++id;
    ASSERT_LT(id, 64) << "no entry gives " << command;
    window->AnswerMenu(id);
    for (Answer answer : answers) window->AnswerMessage(answer);
    if (!file.empty()) window->AnswerFile(file);
    editor->OnMouseDown(200, 80, kLeft);
    editor->OnMouseUp(200, 80, kLeft);
  }
  // The programs, the live state and the settings file.
  std::string Snapshot() {
    ChunkBuffer chunk;
    plug->ModifyCurrentPreset();
    plug->SerializePresets(chunk);
    plug->WriteState(chunk);
    std::ifstream in(plug->ConfigurationFile(), std::ios::binary);
    return std::string(chunk.Data(), chunk.Data() + chunk.Size()) +
           std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Path(const std::string& name) const { return (files / name).string(); }
  // The last message, and how many came since the last call.
  std::string Last(size_t count = 1, const char* caption = nullptr) {
    const auto& all = window->Messages();
    EXPECT_EQ(all.size() - seen, count);
    const bool none = all.size() == seen;
    seen = all.size();
    if (none) return "";
    EXPECT_EQ(all.back().caption, caption ? caption : all.back().caption);
    return all.back().text;
  }
  const GraphicsBackEnd::FileRequest& Request() const { return window->FileRequests().back(); }

  std::unique_ptr<Tarsyn7> plug;
  IGraphics* editor = nullptr;
  std::unique_ptr<HeadlessBackEnd> window;
  fs::path files;
  size_t seen = 0;
};

}  // namespace

TEST(MainMenu, EntriesFlagsAndCommandNumbersInBothStates) {
  const std::string empty =
      "Copy Program=0|Paste Program...#d|Init Program=2|-|Load Program...{Full Program=32|Sound "
      "only=33|Sequence only=34}|Save Program=5|Load Bank...{Load FXB Bank File=35|-|Restore "
      "Poly-800 Factory Sounds=37|Restore the Corvane Factory Sounds=38}|Save Bank=7|-|Load "
      "SysEx/Tape...{Load SysEx Bank Data=39|Load SysEx Sequence=40|-|Load Tape Bank Data=42|Load "
      "Tape Sequence=43}|Save SysEx...{Save SysEx Data (EX-800)=44|Save SysEx Data (MIDI Dump "
      "Kit)=45|Save SysEx Data (Poly-800 II)=46}|-|Select Startup Bank=12|Load Startup Bank#d|"
      "Unselect Startup Bank#d|-|Default Path for Program Files=16|Global MIDI Settings...{MIDI "
      "Thru=24|Ignore Program Change=25|Use Breath Controller for MG to VCF=26}|Reload "
      "Configuration=18|Save Configuration=19|-|Show All Parameters=21|-|Go Online...{Check "
      "Online for Update=27|Visit www.corvanemusic.example=28}";
  // A copied program, a startup bank and every switch on change only these.
  std::string full = empty;
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"Paste Program...#d",
            "Paste Program...{Full Program=29|Sound only=30|Sequence only=31}"},
           {"Load Startup Bank#d", "Load Startup Bank=13"},
           {"Unselect Startup Bank#d", "Unselect Startup Bank=14"},
           {"=24", "=24#c"},
           {"=25", "=25#c"},
           {"=26", "=26#c"},
           {"=21", "=21#c"}}) {
    full.replace(full.find(from), from.size(), to);
  }
  for (bool on : {false, true}) {
    PopupMenu menu = MainMenu::Build({on, on, on, on, on, on});
    menu.AssignIds();
    EXPECT_EQ(Dump(menu, menu), on ? full : empty);
    EXPECT_EQ(MainMenu::CommandOf(menu, nullptr), -1);  // dismissed
  }
}

TEST_F(MainMenuTest, QuestionsAnsweredNoChangeNothingAndYesDoesTheWork) {
  plug->LoadProgram(3);
  Choose(MainMenu::kCopyProgram);
  plug->LoadProgram(10);
  plug->SetStartupBank(Path("start.fxb"));
  const std::string ini = plug->ConfigurationFile();
  const std::string bank =
      "The Startup Bank is:\n" + Path("start.fxb") + "\n\nDo you really want to ";
  const std::string settings =
      "The INI configuration file is:\n" + ini + "\n\nDo you really want to ";
  const std::string all = "Do you really want to overwrite all programs?";
  const std::string current = "Do you really want to overwrite the ";
  const struct {
    int command;
    const char* caption;
    std::string text;
  } questions[] = {
      {29, "Paste Program", current + "current program?"},
      {30, "Paste Program", current + "sound data of the current program?"},
      {31, "Paste Program", current + "sequence data of the current program?"},
      {2, "Initialize Program", "Do you really want to initialize the current program?"},
      {37, "Restore Poly-800 Factory Sounds", all},
      {38, "Restore the Corvane Factory Sounds", all},
      {13, "Load Startup Bank", bank + "reload all programs?"},
      {14, "Unselect Startup Bank", bank + "unselect it?"},
      {18, "Reload Configuration", settings + "reload it?"},
      {19, "Save Configuration", settings + "overwrite it?"}};
  const std::string before = Snapshot();
  for (const auto& question : questions) {
    for (Answer answer : {GraphicsBackEnd::kAnswerNo, GraphicsBackEnd::kAnswerCancel}) {
      Choose(question.command, {answer});
      EXPECT_EQ(Last(1, question.caption), question.text);
      EXPECT_EQ(window->Messages().back().style, GraphicsBackEnd::kYesNo);
      EXPECT_EQ(Snapshot(), before) << question.command;
    }
  }
  Choose(29, {kYes});
  EXPECT_EQ(plug->CurrentProgramName(), plug->PresetName(3));
  Choose(2, {kYes});
  EXPECT_EQ(plug->CurrentProgramName(), "Program 2-3");
  Choose(38, {kYes});
  EXPECT_EQ(plug->PresetName(63), "INIT");
  Choose(13, {kYes});  // the bank file is missing
  EXPECT_EQ(Last(5, "Error"), "Cannot load file!");
  Choose(14, {kYes});
  Configuration stored(ini);
  EXPECT_TRUE(stored.Read() && stored.StartupBank().empty() &&
              plug->Settings().StartupBank().empty());
}

// Cancelled dialogs say nothing and change nothing; a file that cannot be read or written
// is reported plainly and changes nothing either.
TEST_F(MainMenuTest, FileCommandsCancelledOrFailing) {
  std::ofstream(files / "bad") << "CcnK";
  const std::string before = Snapshot();
  for (int command : {32, 33, 34, 35, 39, 40, 5, 7, 44, 45, 46, 12, 16}) {
    Choose(command);
    EXPECT_EQ(Last(0), "") << command;
    EXPECT_EQ(Snapshot(), before) << command;
    if (command == 12 || command == 16) continue;
    const bool save = command == 5 || command == 7 || command >= 44;
    Choose(command, {}, save ? Path("missing-folder/out") : Path("bad"));
    EXPECT_EQ(Last(1, "Error"), save ? "Cannot save file!" : "Cannot load file!") << command;
    EXPECT_EQ(window->Messages().back().style, GraphicsBackEnd::kOkError);
    EXPECT_EQ(Snapshot(), before) << command;
  }
}

TEST_F(MainMenuTest, FilesSavedAndLoadedBackWithTheirFolders) {
  const std::string start = plug->ProgramFolder();
  plug->RenameCurrentProgram("A/B:C?");
  Choose(MainMenu::kSaveProgram, {}, Path("a"));
  EXPECT_EQ(Request().suggestedName + " " + Request().directory, "A_B_C_ " + start);
  EXPECT_TRUE(fs::exists(files / "a.fxp"));  // the extension added
  Choose(MainMenu::kSaveBank, {}, Path("bank.fxb"));
  EXPECT_EQ(Request().suggestedName + " " + Request().directory, "Tarsyn7 " + files.string());
  Choose(MainMenu::kSaveSysExPoly800II, {}, Path("poly800ii"));
  EXPECT_EQ(Request().suggestedName + " " + Request().directory,
            "Tarsyn7 " + plug->DocumentsFolder());
  Choose(MainMenu::kRestorePoly800Sounds, {kYes});
  Choose(MainMenu::kLoadBankFile, {}, Path("bank.fxb"));
  Choose(MainMenu::kLoadFullProgram, {}, Path("a.fxp"));
  EXPECT_EQ(Last(1), "Do you really want to overwrite all programs?");
  EXPECT_EQ(plug->CurrentProgramName(), "A/B:C?");
  Choose(MainMenu::kLoadSysExBank, {}, Path("poly800ii.syx"));
  EXPECT_EQ(Last(1, "Poly-800II SysEx Data Loaded"),
            "Poly-800 II SysEx data was successfully loaded. Note that Delay and Equalizer "
            "settings are ignored.");
  Choose(MainMenu::kLoadSysExSequence, {}, Path("poly800ii.syx"));
  EXPECT_EQ(Last(1, "Poly-800 I/II SysEx Sequence Loaded"),
            "Poly-800 I/II SysEx sequence was successfully loaded.");
  EXPECT_EQ(plug->ProgramFolder(), files.string());  // the hardware's files leave it alone

  fs::create_directories(files / "other");
  Choose(MainMenu::kSelectStartupBank, {}, Path("other/bank.fxb"));
  EXPECT_EQ(plug->ProgramFolder(), files.string());
  Choose(MainMenu::kProgramFilesFolder, {}, Path("other"));
  EXPECT_EQ(Request().mode, GraphicsBackEnd::kChooseFolder);
  EXPECT_EQ(Request().suggestedName, "[file name is ignored]");
  EXPECT_EQ(plug->ProgramFolder(), Path("other"));
  Configuration stored(plug->ConfigurationFile());
  ASSERT_TRUE(stored.Read());
  EXPECT_EQ(stored.ProgramFilesFolder() + " " + stored.StartupBank(),
            Path("other") + " " + Path("other/bank.fxb"));
}

TEST_F(MainMenuTest, SwitchesAreSavedAndCheckedAndAllFadersShow) {
  const std::pair<int, bool (Configuration::*)() const> switches[] = {
      {24, &Configuration::MidiThru},
      {25, &Configuration::IgnoreProgramChange},
      {26, &Configuration::UseBreathController},
      {21, &Configuration::ShowParameters}};
  editor->OnTimer();
  const Bitmap hidden = window->Screen();
  for (const auto& [command, isOn] : switches) {
    for (bool on : {true, false}) {
      Choose(command);
      Configuration stored(plug->ConfigurationFile());
      ASSERT_TRUE(stored.Read());
      EXPECT_EQ((plug->Settings().*isOn)() && (stored.*isOn)(), on) << command;
      editor->OnTimer();
      // The chart's first fader shows without hovering.
      EXPECT_EQ(window->Screen().At(30, 400) != hidden.At(30, 400), command == 21 && on);
    }
  }
  EXPECT_EQ(Last(0), "");
}

TEST_F(MainMenuTest, ConfigurationReloadAndSave) {
  const std::string ini = plug->ConfigurationFile();
  std::ofstream(ini) << "[MIDI Global]\nMIDI Thru=true\n";
  Choose(MainMenu::kReloadConfiguration, {kYes});
  EXPECT_TRUE(plug->Settings().MidiThru() && Last(1) != "");
  fs::remove(ini);
  Choose(MainMenu::kReloadConfiguration, {kYes});
  EXPECT_EQ(Last(2, "Problem with INI File"), "The INI file does not exist.");
  Choose(MainMenu::kSaveConfiguration, {kYes});
  Configuration stored(ini);
  EXPECT_TRUE(stored.Read() && stored.MidiThru() && Last(1) != "");
  fs::remove(ini);
  fs::create_directory(ini);  // cannot be written now
  Choose(MainMenu::kSaveConfiguration, {kYes});
  EXPECT_EQ(Last(2, "Error"), "Cannot save file!");
}

TEST_F(MainMenuTest, TapeDialogOnlyInTheWindowOnlineEntriesAndDismissal) {
  IZKTapeLoadDialog* dialog = plug->Panel().tapeDialog;
  const std::string before = Snapshot();
  editor->OnMouseDown(200, 80, kLeft);  // the menu dismissed
  editor->OnMouseUp(200, 80, kLeft);
  EXPECT_EQ(Snapshot(), before);
  for (int command : {42, 43}) {
    Choose(command);
    EXPECT_FALSE(dialog->IsHidden());
    EXPECT_EQ(dialog->GetMode(), command);
    dialog->Hide(true);
  }
  Choose(MainMenu::kVisitHomePage);
  EXPECT_EQ(window->OpenedPages(), std::vector<std::string>{"http://www.corvanemusic.example/"});
  Choose(MainMenu::kCheckForUpdate);
  EXPECT_EQ(Last(1, "Check Online for Update"), "An error occurred while contacting 127.0.0.1.");
  editor->CloseWindow();
  plug->RunMenuCommand(MainMenu::kLoadTapeBank);
  EXPECT_TRUE(dialog->IsHidden());
  ASSERT_TRUE(editor->OpenWindow(window.get()));
}
