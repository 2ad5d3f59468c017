// The option button's menu on the instrument, through a window without a screen: its
// entries and their states, and every command it starts, answered, cancelled and failing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "editor/HeadlessBackEnd.h"
#include "editor/IGraphics.h"
#include "editor/IZKTapeLoadDialog.h"
#include "editor/MainMenu.h"
#include "engine/Tarsyn7.h"
#include "tests/SettingsHome.h"

namespace {

namespace fs = std::filesystem;
using Answer = GraphicsBackEnd::MessageAnswer;
constexpr MouseModifiers kLeft{true, false, false, false, false};
constexpr int kDisabled = PopupMenuItem::kDisabled;
constexpr int kChecked = PopupMenuItem::kChecked;
constexpr int kSeparator = PopupMenuItem::kSeparator;

struct Entry {
  int command;
  const char* text;
  int flagsEmpty;  // nothing copied, no startup bank, every switch off
  int flagsFull;   // a program copied, a startup bank, every switch on
};

// Every entry that is not a submenu, as the musician sees it.
const Entry kEntries[] = {
    {0, "Copy Program", 0, 0},
    {29, "Full Program", -1, 0},
    {30, "Sound only", -1, 0},
    {31, "Sequence only", -1, 0},
    {2, "Init Program", 0, 0},
    {3, "", kSeparator, kSeparator},
    {32, "Full Program", 0, 0},
    {33, "Sound only", 0, 0},
    {34, "Sequence only", 0, 0},
    {5, "Save Program", 0, 0},
    {35, "Load FXB Bank File", 0, 0},
    {36, "", kSeparator, kSeparator},
    {37, "Restore Poly-800 Factory Sounds", 0, 0},
    {38, "Restore the Corvane Factory Sounds", 0, 0},
    {7, "Save Bank", 0, 0},
    {8, "", kSeparator, kSeparator},
    {39, "Load SysEx Bank Data", 0, 0},
    {40, "Load SysEx Sequence", 0, 0},
    {41, "", kSeparator, kSeparator},
    {42, "Load Tape Bank Data", 0, 0},
    {43, "Load Tape Sequence", 0, 0},
    {44, "Save SysEx Data (EX-800)", 0, 0},
    {45, "Save SysEx Data (MIDI Dump Kit)", 0, 0},
    {46, "Save SysEx Data (Poly-800 II)", 0, 0},
    {11, "", kSeparator, kSeparator},
    {12, "Select Startup Bank", 0, 0},
    {13, "Load Startup Bank", kDisabled, 0},
    {14, "Unselect Startup Bank", kDisabled, 0},
    {15, "", kSeparator, kSeparator},
    {16, "Default Path for Program Files", 0, 0},
    {24, "MIDI Thru", 0, kChecked},
    {25, "Ignore Program Change", 0, kChecked},
    {26, "Use Breath Controller for MG to VCF", 0, kChecked},
    {18, "Reload Configuration", 0, 0},
    {19, "Save Configuration", 0, 0},
    {20, "", kSeparator, kSeparator},
    {21, "Show All Parameters", 0, kChecked},
    {22, "", kSeparator, kSeparator},
    {27, "Check Online for Update", 0, 0},
    {28, "Visit www.corvanemusic.example", 0, 0},
};

const char* const kTopMenu[] = {"Copy Program",
                                "Paste Program...",
                                "Init Program",
                                "",
                                "Load Program...",
                                "Save Program",
                                "Load Bank...",
                                "Save Bank",
                                "",
                                "Load SysEx/Tape...",
                                "Save SysEx...",
                                "",
                                "Select Startup Bank",
                                "Load Startup Bank",
                                "Unselect Startup Bank",
                                "",
                                "Default Path for Program Files",
                                "Global MIDI Settings...",
                                "Reload Configuration",
                                "Save Configuration",
                                "",
                                "Show All Parameters",
                                "",
                                "Go Online..."};

// The first command number of each submenu, by the top entry that opens it.
const std::pair<int, int> kSubmenuBases[] = {{1, 29},  {4, 32},  {6, 35}, {9, 39},
                                             {10, 44}, {17, 24}, {23, 27}};

// The entry that stands for `command` (its place in the top menu, or its place in a
// submenu plus the submenu's base) and its id once the menu is numbered.
const PopupMenuItem* Find(PopupMenu& top, int command, int& id) {
  top.AssignIds();
  if (command < top.ItemCount() && !top.Item(command).submenu) {
    id = command;
    return &top.Item(command);
  }
  for (const auto& [entry, base] : kSubmenuBases) {
    const PopupMenu* menu = top.Item(entry).submenu.get();
    if (menu && command >= base && command < base + menu->ItemCount()) {
      id = menu->FirstId() + command - base;
      return &menu->Item(command - base);
    }
  }
  return nullptr;
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
    editor->OnTimer();
    files = folder_ / "files";
    fs::create_directories(files);
  }
  void TearDown() override {
    editor->CloseWindow();
    plug.reset();
    SettingsHome::TearDown();
  }

  MainMenu::State MenuState() const {
    const Configuration& settings = plug->Settings();
    return {
        plug->HasCopiedProgram(),       !settings.StartupBank().empty(), settings.MidiThru(),
        settings.IgnoreProgramChange(), settings.UseBreathController(),  settings.ShowParameters()};
  }
  // Clicks the option button and chooses the command's entry, answering its dialogs.
  void Choose(int command, std::vector<Answer> answers = {}, std::vector<std::string> paths = {}) {
    PopupMenu menu = MainMenu::Build(MenuState());
    int id = -1;
    ASSERT_NE(Find(menu, command, id), nullptr) << command;
    window->AnswerMenu(id);
    for (Answer answer : answers) window->AnswerMessage(answer);
    for (const std::string& path : paths) window->AnswerFile(path);
    editor->OnMouseDown(200, 80, kLeft);
    editor->OnMouseUp(200, 80, kLeft);
  }
  // The programs, the live state and the settings file, to see that nothing changed.
  std::string Snapshot() {
    ChunkBuffer chunk;
    plug->ModifyCurrentPreset();
    plug->SerializePresets(chunk);
    plug->WriteState(chunk);
    std::ifstream in(plug->ConfigurationFile(), std::ios::binary);
    const std::string settings{std::istreambuf_iterator<char>(in), {}};
    return std::string(chunk.Data(), chunk.Data() + chunk.Size()) + settings;
  }
  std::string Path(const std::string& name) const { return (files / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(files / name, std::ios::binary) << bytes;
  }
  // The messages shown since the last call.
  std::vector<HeadlessBackEnd::Message> NewMessages() {
    const auto& all = window->Messages();
    std::vector<HeadlessBackEnd::Message> shown(all.begin() + static_cast<long>(seen), all.end());
    seen = all.size();
    return shown;
  }
  // `count` new messages, the last of them this one.
  void ExpectMessage(const std::string& text, const std::string& caption, size_t count = 1) {
    const auto shown = NewMessages();
    ASSERT_EQ(shown.size(), count) << text;
    EXPECT_EQ(shown.back().text, text);
    EXPECT_EQ(shown.back().caption, caption);
  }
  const GraphicsBackEnd::FileRequest& LastRequest() const { return window->FileRequests().back(); }

  std::unique_ptr<Tarsyn7> plug;
  IGraphics* editor = nullptr;
  std::unique_ptr<HeadlessBackEnd> window;
  fs::path files;
  size_t seen = 0;
};

}  // namespace

TEST(MainMenu, EntriesFlagsAndCommandNumbersInBothStates) {
  for (bool full : {false, true}) {
    PopupMenu menu = MainMenu::Build({full, full, full, full, full, full});
    ASSERT_EQ(menu.ItemCount(), 24);
    for (int i = 0; i < 24; ++i) EXPECT_EQ(menu.Item(i).text, kTopMenu[i]) << i;
    // Without a copy the paste entry is grayed and opens nothing.
    EXPECT_EQ(menu.Item(1).flags, full ? 0 : kDisabled);
    EXPECT_EQ(menu.Item(1).submenu != nullptr, full);
    for (const Entry& entry : kEntries) {
      const int flags = full ? entry.flagsFull : entry.flagsEmpty;
      int id = -1;
      const PopupMenuItem* item = Find(menu, entry.command, id);
      if (flags < 0) {
        EXPECT_EQ(item, nullptr) << entry.command;
        continue;
      }
      ASSERT_NE(item, nullptr) << entry.command << (full ? " full" : " empty");
      EXPECT_EQ(item->text, entry.text) << entry.command;
      EXPECT_EQ(item->flags, flags) << entry.command;
      const PopupMenu* chosen = menu.Choose(id);
      EXPECT_EQ(MainMenu::CommandOf(menu, chosen),
                item->Enabled() && !(flags & kSeparator) ? entry.command : -1)
          << entry.command;
    }
    EXPECT_EQ(MainMenu::CommandOf(menu, nullptr), -1);  // dismissed
  }
}

TEST_F(MainMenuTest, QuestionsAnsweredNoChangeNothing) {
  plug->LoadProgram(3);
  Choose(MainMenu::kCopyProgram);
  ASSERT_TRUE(plug->HasCopiedProgram());
  plug->LoadProgram(10);
  const std::string ini = plug->ConfigurationFile();
  plug->SetStartupBank(Path("start.fxb"));
  struct Question {
    int command;
    std::string text;
    const char* caption;
  };
  const Question questions[] = {
      {29, "Do you really want to overwrite the current program?", "Paste Program"},
      {30, "Do you really want to overwrite the sound data of the current program?",
       "Paste Program"},
      {31, "Do you really want to overwrite the sequence data of the current program?",
       "Paste Program"},
      {2, "Do you really want to initialize the current program?", "Initialize Program"},
      {37, "Do you really want to overwrite all programs?", "Restore Poly-800 Factory Sounds"},
      {38, "Do you really want to overwrite all programs?", "Restore the Corvane Factory Sounds"},
      {13,
       "The Startup Bank is:\n" + Path("start.fxb") +
           "\n\nDo you really want to reload all programs?",
       "Load Startup Bank"},
      {14, "The Startup Bank is:\n" + Path("start.fxb") + "\n\nDo you really want to unselect it?",
       "Unselect Startup Bank"},
      {18, "The INI configuration file is:\n" + ini + "\n\nDo you really want to reload it?",
       "Reload Configuration"},
      {19, "The INI configuration file is:\n" + ini + "\n\nDo you really want to overwrite it?",
       "Save Configuration"},
  };
  const std::string before = Snapshot();
  for (const Question& question : questions) {
    for (Answer answer : {GraphicsBackEnd::kAnswerNo, GraphicsBackEnd::kAnswerCancel}) {
      Choose(question.command, {answer});
      const auto shown = NewMessages();
      ASSERT_EQ(shown.size(), 1u) << question.command;
      EXPECT_EQ(shown[0].text, question.text);
      EXPECT_EQ(shown[0].caption, question.caption);
      EXPECT_EQ(shown[0].style, GraphicsBackEnd::kYesNo);
      EXPECT_EQ(Snapshot(), before) << question.command;
    }
  }
  // And a "yes" does the work.
  Choose(29, {GraphicsBackEnd::kAnswerYes});
  EXPECT_EQ(plug->CurrentProgramName(), plug->PresetName(3));
  Choose(2, {GraphicsBackEnd::kAnswerYes});
  EXPECT_EQ(plug->CurrentProgramName(), "Program 2-3");
  Choose(38, {GraphicsBackEnd::kAnswerYes});
  EXPECT_EQ(plug->PresetName(63), "INIT");
  NewMessages();
  Choose(13, {GraphicsBackEnd::kAnswerYes});  // the bank file is missing
  ExpectMessage("Cannot load file!", "Error", 2);
  Choose(14, {GraphicsBackEnd::kAnswerYes});
  EXPECT_EQ(plug->Settings().StartupBank(), "");
  EXPECT_FALSE(MenuState().startupBankSelected);
}

// Cancelled dialogs say nothing and change nothing; a file that cannot be read or written
// is reported plainly and changes nothing either.
TEST_F(MainMenuTest, FileCommandsCancelledOrFailing) {
  Write("broken.fxp", "CcnK broken");
  Write("broken.fxb", "CcnK broken");
  Write("broken.syx", std::string("\xF0\x42\x30\xF7", 4));
  const std::string unwritable = Path("missing-folder/out");
  struct FileCommand {
    int command;
    std::string failing;
    const char* message;
  };
  const FileCommand commands[] = {
      {32, Path("broken.fxp"), "Cannot load file!"},
      {33, Path("broken.fxp"), "Cannot load file!"},
      {34, Path("broken.fxp"), "Cannot load file!"},
      {35, Path("broken.fxb"), "Cannot load file!"},
      {39, Path("broken.syx"), "Cannot load file!"},
      {40, Path("broken.syx"), "Cannot load file!"},
      {5, unwritable, "Cannot save file!"},
      {7, unwritable, "Cannot save file!"},
      {44, unwritable, "Cannot save file!"},
      {45, unwritable, "Cannot save file!"},
      {46, unwritable, "Cannot save file!"},
      {12, "", nullptr},
      {16, "", nullptr},
  };
  const std::string before = Snapshot();
  for (const FileCommand& command : commands) {
    Choose(command.command);
    EXPECT_TRUE(NewMessages().empty()) << command.command;
    EXPECT_EQ(Snapshot(), before) << command.command;
    if (!command.message) continue;
    Choose(command.command, {}, {command.failing});
    ExpectMessage(command.message, "Error");
    EXPECT_EQ(window->Messages().back().style, GraphicsBackEnd::kOkError);
    EXPECT_EQ(Snapshot(), before) << command.command;
  }
}

TEST_F(MainMenuTest, FilesSavedAndLoadedBackWithTheirFolders) {
  const std::string programs = plug->ProgramFolder();
  plug->RenameCurrentProgram("A/B:C?");
  Choose(MainMenu::kSaveProgram, {}, {Path("a")});
  EXPECT_EQ(LastRequest().suggestedName, "A_B_C_");
  EXPECT_EQ(LastRequest().directory, programs);
  EXPECT_EQ(LastRequest().defaultExtension, "fxp");
  EXPECT_TRUE(fs::exists(files / "a.fxp"));  // the extension added
  EXPECT_EQ(plug->ProgramFolder(), files.string());
  Choose(MainMenu::kSaveBank, {}, {Path("bank.fxb")});
  EXPECT_EQ(LastRequest().suggestedName, "Tarsyn7");
  EXPECT_EQ(LastRequest().directory, files.string());
  for (int command : {44, 46}) {
    Choose(command, {}, {Path("dump" + std::to_string(command))});
    EXPECT_EQ(LastRequest().suggestedName, "Tarsyn7");
    EXPECT_EQ(LastRequest().directory, plug->DocumentsFolder());
  }
  EXPECT_TRUE(NewMessages().empty());

  Choose(MainMenu::kRestorePoly800Sounds, {GraphicsBackEnd::kAnswerYes});
  NewMessages();
  Choose(MainMenu::kLoadBankFile, {}, {Path("bank.fxb")});
  Choose(MainMenu::kLoadFullProgram, {}, {Path("a.fxp")});
  EXPECT_TRUE(NewMessages().empty());
  EXPECT_EQ(plug->CurrentProgramName(), "A/B:C?");
  Choose(MainMenu::kLoadSysExBank, {}, {Path("dump44.syx")});
  ExpectMessage("Poly/EX-800 SysEx data was successfully loaded.", "Poly/EX-800 SysEx Data Loaded");
  Choose(MainMenu::kLoadSysExBank, {}, {Path("dump46.syx")});
  ExpectMessage(
      "Poly-800 II SysEx data was successfully loaded. Note that Delay and Equalizer settings "
      "are ignored.",
      "Poly-800II SysEx Data Loaded");
  Choose(MainMenu::kLoadSysExSequence, {}, {Path("dump46.syx")});
  ExpectMessage("Poly-800 I/II SysEx sequence was successfully loaded.",
                "Poly-800 I/II SysEx Sequence Loaded");
  EXPECT_EQ(LastRequest().directory, plug->DocumentsFolder());
  EXPECT_EQ(plug->ProgramFolder(), files.string());  // the hardware's files leave it alone

  // The startup bank is chosen, not loaded; the folder stays.
  fs::create_directories(files / "elsewhere");
  Choose(MainMenu::kSelectStartupBank, {}, {Path("elsewhere/bank.fxb")});
  EXPECT_EQ(plug->Settings().StartupBank(), Path("elsewhere/bank.fxb"));
  EXPECT_EQ(plug->ProgramFolder(), files.string());

  // The program-files folder is a folder of its own choosing, kept in the settings.
  Choose(MainMenu::kProgramFilesFolder, {}, {Path("elsewhere")});
  EXPECT_EQ(LastRequest().mode, GraphicsBackEnd::kChooseFolder);
  EXPECT_EQ(LastRequest().suggestedName, "[file name is ignored]");
  EXPECT_EQ(LastRequest().directory, files.string());
  EXPECT_EQ(plug->ProgramFolder(), Path("elsewhere"));
  Configuration stored(plug->ConfigurationFile());
  ASSERT_TRUE(stored.Read());
  EXPECT_EQ(stored.ProgramFilesFolder(), Path("elsewhere"));
  EXPECT_EQ(stored.StartupBank(), Path("elsewhere/bank.fxb"));
}

TEST_F(MainMenuTest, SwitchesAreSavedAndShownByTheNextMenu) {
  const std::pair<int, bool (Configuration::*)() const> switches[] = {
      {24, &Configuration::MidiThru},
      {25, &Configuration::IgnoreProgramChange},
      {26, &Configuration::UseBreathController},
      {21, &Configuration::ShowParameters}};
  const Rect column{18, 338, 56, 430};  // the chart's first fader
  const Bitmap hidden = window->Screen();
  for (const auto& [command, isOn] : switches) {
    for (bool on : {true, false}) {
      Choose(command);
      EXPECT_EQ((plug->Settings().*isOn)(), on) << command;
      Configuration stored(plug->ConfigurationFile());
      ASSERT_TRUE(stored.Read());
      EXPECT_EQ((stored.*isOn)(), on) << command;
      PopupMenu menu = MainMenu::Build(MenuState());
      int id = -1;
      EXPECT_EQ(Find(menu, command, id)->flags, on ? kChecked : 0);
      editor->OnTimer();
      if (command != 21) continue;
      bool same = true;
      for (int y = column.top; y < column.bottom; ++y) {
        for (int x = column.left; x < column.right; ++x) {
          same = same && hidden.At(x, y) == window->Screen().At(x, y);
        }
      }
      EXPECT_EQ(same, !on) << "every fader shows, without hovering";
    }
  }
  EXPECT_TRUE(NewMessages().empty());
}

TEST_F(MainMenuTest, ConfigurationReloadAndSave) {
  const std::string ini = plug->ConfigurationFile();
  std::ofstream(ini) << "[MIDI Global]\nMIDI Thru=true\n";
  Choose(MainMenu::kReloadConfiguration, {GraphicsBackEnd::kAnswerYes});
  EXPECT_TRUE(plug->Settings().MidiThru());
  fs::remove(ini);
  NewMessages();
  Choose(MainMenu::kReloadConfiguration, {GraphicsBackEnd::kAnswerYes});
  ExpectMessage("The INI file does not exist.", "Problem with INI File", 2);
  Choose(MainMenu::kSaveConfiguration, {GraphicsBackEnd::kAnswerYes});
  Configuration stored(ini);
  ASSERT_TRUE(stored.Read());
  EXPECT_TRUE(stored.MidiThru());
  NewMessages();
  fs::remove(ini);
  fs::create_directory(ini);  // cannot be written now
  Choose(MainMenu::kSaveConfiguration, {GraphicsBackEnd::kAnswerYes});
  ExpectMessage("Cannot save file!", "Error", 2);
}

TEST_F(MainMenuTest, TapeDialogOnlyInTheWindowOnlineEntriesAndDismissal) {
  IZKTapeLoadDialog* dialog = plug->Panel().tapeDialog;
  const std::string before = Snapshot();
  editor->OnMouseDown(200, 80, kLeft);  // dismissed
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
  EXPECT_TRUE(NewMessages().empty());
  Choose(MainMenu::kCheckForUpdate);
  ExpectMessage("An error occurred while contacting 127.0.0.1.", "Check Online for Update");
  editor->CloseWindow();
  plug->RunMenuCommand(MainMenu::kLoadTapeBank);
  EXPECT_TRUE(dialog->IsHidden());
  ASSERT_TRUE(editor->OpenWindow(window.get()));
}
