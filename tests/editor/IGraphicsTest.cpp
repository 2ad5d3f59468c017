#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "EditorFixture.h"
#include "control/ParameterIndex.h"
#include "drawing/Png.h"
#include "editor/KeyCodes.h"

namespace {

TEST_F(EditorTest, ClicksGoToTheLastControlUnderThePointerThatIsShownAndNotGrayed) {
  ProbeControl* background = AddProbe({0, 0, 200, 100});
  ProbeControl* lower = AddProbe({10, 10, 50, 50});
  ProbeControl* upper = AddProbe({30, 30, 70, 70});
  Open();
  Click(40, 40);
  EXPECT_EQ(upper->presses, 1);
  upper->Hide(true);
  Click(40, 40);
  EXPECT_EQ(lower->presses, 1);
  lower->GrayOut(true);
  Click(40, 40);
  EXPECT_EQ(background->presses, 1);
  Click(0, 100);  // the right and bottom edges are outside
  EXPECT_EQ(background->presses, 1);
  // Keys: a control under the pointer may take them; over the background they go on.
  EXPECT_FALSE(graphics.OnKeyDown(5, 5, EditorKeyCode('a')));
  lower->GrayOut(false);
  EXPECT_TRUE(graphics.OnKeyDown(20, 20, EditorKeyCode('a')));
  EXPECT_EQ(EditorKeyCode('A'), 15);
  EXPECT_EQ(EditorKeyCode('z'), 40);
  EXPECT_EQ(EditorKeyCode('9'), 14);
  EXPECT_EQ(EditorKeyCode(NamedKey::kRight), 4);
  EXPECT_EQ(EditorKeyCode('+'), kNoKey);
}

TEST_F(EditorTest, OnlyTheUnionOfDirtyControlsIsRepainted) {
  AddProbe({0, 0, 200, 100});
  ProbeControl* a = AddProbe({10, 10, 20, 20});
  ProbeControl* b = AddProbe({40, 30, 50, 40});
  ProbeControl* far = AddProbe({150, 80, 160, 90});
  Open();
  int farDraws = far->draws;
  a->Redraw();
  b->Redraw();
  graphics.OnTimer();
  ASSERT_EQ(window.PresentedAreas().size(), 1u);
  EXPECT_EQ(window.PresentedAreas()[0], (Rect{10, 10, 50, 40}));
  EXPECT_EQ(far->draws, farDraws);
  EXPECT_EQ(window.Screen().At(15, 15), 0xFFC86432u);
  graphics.OnTimer();  // nothing dirty: nothing painted
  EXPECT_EQ(window.PresentedAreas().size(), 1u);

  // A control drawing beyond where it takes clicks (the information line's status text)
  // is repainted over all it draws.
  ProbeControl* info = AddProbe({60, 5, 190, 19});
  info->TakeClicksOnlyIn({60, 5, 120, 19});
  graphics.OnTimer();
  EXPECT_EQ(window.PresentedAreas().back(), (Rect{60, 5, 190, 19}));
  Click(150, 10);
  EXPECT_EQ(info->presses, 0);

  std::string path = ::testing::TempDir() + "editor-screenshot.png";
  ASSERT_TRUE(window.WriteScreenshot(path));
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                             std::istreambuf_iterator<char>()};
  std::optional<Bitmap> shot = DecodePng(bytes.data(), bytes.size());
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->At(15, 15), window.Screen().At(15, 15));
}

TEST_F(EditorTest, IdleTickRunsOnTheTwentyFirstCleanTick) {
  ProbeControl* probe = AddProbe({0, 0, 10, 10});
  Open();
  for (int tick = 1; tick <= 20; ++tick) graphics.OnTimer();
  EXPECT_EQ(plug.idleTicks, 0);
  graphics.OnTimer();
  EXPECT_EQ(plug.idleTicks, 1);
  // A painting tick starts the count again.
  for (int tick = 1; tick <= 20; ++tick) graphics.OnTimer();
  probe->Redraw();
  graphics.OnTimer();
  for (int tick = 1; tick <= 20; ++tick) graphics.OnTimer();
  EXPECT_EQ(plug.idleTicks, 1);
  graphics.OnTimer();
  EXPECT_EQ(plug.idleTicks, 2);
}

TEST_F(EditorTest, HostGesturesAreAlwaysBalanced) {
  ProbeControl* bound = AddProbe({0, 0, 50, 50}, kTune);
  AddProbe({60, 0, 100, 50});  // a tag: no gestures
  Open();
  graphics.OnMouseDown(10, 10, kLeft);
  graphics.OnMouseDown(10, 10, kRight);  // a second button while captured: ignored
  graphics.OnMouseUp(10, 10, kRight);
  EXPECT_EQ(graphics.CapturedControl(), 0);
  graphics.OnMouseUp(10, 10, kLeft);
  graphics.OnMouseUp(10, 10, kLeft);  // a release without a press ends nothing
  Click(70, 10);
  // Windows' double click: press, release, double click, release.
  Click(10, 10);
  graphics.OnMouseDblClick(10, 10, kLeft);
  graphics.OnMouseUp(10, 10, kLeft);
  EXPECT_EQ(bound->presses, 2);  // a double click is no second press for this control
  EXPECT_EQ(bound->doubleClicks, 1);
  // Closing the window while dragging ends the gesture.
  graphics.OnMouseDown(10, 10, kLeft);
  graphics.CloseWindow();
  std::vector<std::string> expected{"begin 1", "end 1", "begin 1", "end 1",
                                    "begin 1", "end 1", "begin 1", "end 1"};
  EXPECT_EQ(plug.calls, expected);
}

TEST_F(EditorTest, TextEntryCommitsOnAClickCancelsOnAWheelNotchAndNeverCutsSilently) {
  ProbeControl* name = AddProbe({10, 10, 100, 22});
  name->SetEntryLength(5);
  Open();
  graphics.OpenTextEntry(name, TextStyle(), name->DrawRect(), "Bräss Lead");
  ASSERT_TRUE(window.EntryBoxOpen());
  EXPECT_EQ(window.EntryBoxArea(), (Rect{10, 10, 101, 23}));
  EXPECT_EQ(window.TextEntryBoxText(), "Bräss");  // five characters, not five bytes
  graphics.OpenTextEntry(name, TextStyle(), name->DrawRect(), "other");  // one at a time
  EXPECT_EQ(window.TextEntryBoxText(), "Bräss");
  // Unchanged text stores nothing.
  Click(150, 50);
  graphics.OnTimer();
  EXPECT_FALSE(window.EntryBoxOpen());
  EXPECT_TRUE(name->texts.empty());

  graphics.OpenTextEntry(name, TextStyle(), name->DrawRect(), "Pad");
  window.Type("Strings");  // the box refuses what does not fit
  graphics.OnMouseWheel(50, 50, {}, 1.0);
  graphics.OnTimer();
  EXPECT_TRUE(name->texts.empty());

  graphics.OpenTextEntry(name, TextStyle(), name->DrawRect(), "Pad");
  window.Type("Strings");
  Click(150, 50);
  EXPECT_TRUE(name->texts.empty());  // applied by the next tick
  graphics.OnTimer();
  EXPECT_EQ(name->texts, std::vector<std::string>{"Strin"});
}

TEST_F(EditorTest, ValueEntryOfAWholeNumberParameterTakesOnlyNumbers) {
  ProbeControl* octave = AddProbe({10, 10, 50, 22}, kDco1Octave);
  Open();
  graphics.OpenTextEntry(octave, TextStyle(), octave->DrawRect(), "1");
  window.Type("x-1.");
  EXPECT_EQ(window.TextEntryBoxText(), "-1");
  const TextEntry& entry = graphics.GetTextEntry();
  double normalized = -1.0;
  EXPECT_FALSE(entry.ParameterValueOf("loud", normalized));
  EXPECT_TRUE(entry.ParameterValueOf("99", normalized));
  EXPECT_EQ(normalized, 1.0);  // clamped to the range
}

TEST_F(EditorTest, PopupEntriesAreFoundAgainByTheirIdsAndDismissalIsNotTheFirstEntry) {
  AddProbe({0, 0, 200, 100});
  Open();
  PopupMenu menu(PopupMenu::kTwoDigits);
  menu.AddItem("Load Program");
  PopupMenu& banks = menu.AddSubmenu("Banks");
  menu.AddSeparator();
  menu.AddItem("Disabled", PopupMenuItem::kGrayed);
  banks.AddItem("Factory");
  banks.AddItem("User");
  EXPECT_EQ(menu.ItemText(0), "01: Load Program");

  window.AnswerMenu(0);
  EXPECT_EQ(graphics.ShowPopupMenu(menu, {}), &menu);
  EXPECT_EQ(menu.ChosenIndex(), 0);
  EXPECT_EQ(graphics.ShowPopupMenu(menu, {}), nullptr);  // dismissed
  window.AnswerMenu(5);  // the top menu holds ids 0-3, the submenu 4 and 5
  EXPECT_EQ(graphics.ShowPopupMenu(menu, {}), &banks);
  EXPECT_EQ(banks.ChosenIndex(), 1);
  for (int id : {1, 2, 3, 6}) {  // a submenu, a separator, a grayed entry, no entry
    window.AnswerMenu(id);
    EXPECT_EQ(graphics.ShowPopupMenu(menu, {}), nullptr) << id;
  }
}

TEST_F(EditorTest, DialogsGoThroughTheWindowAndNeedOne) {
  std::string file = "old";
  std::string folder;
  graphics.ChooseFile(file, GraphicsBackEnd::kOpenFile, folder, "fxb");
  EXPECT_EQ(file, "");  // no window
  Open();
  window.AnswerFile("/home/user/banks/Strings.fxb");
  graphics.ChooseFile(file, GraphicsBackEnd::kSaveFile, folder, "fxb fxp");
  EXPECT_EQ(file, "/home/user/banks/Strings.fxb");
  EXPECT_EQ(folder, "/home/user/banks");
  ASSERT_EQ(window.FileRequests().size(), 1u);
  EXPECT_EQ(window.FileRequests()[0].filter, "*.fxb;*.fxp");
  EXPECT_EQ(window.FileRequests()[0].defaultExtension, "fxb");
  graphics.ChooseFile(file, GraphicsBackEnd::kOpenFile, folder, "wav");
  EXPECT_EQ(file, "");
  EXPECT_EQ(folder, "/home/user/banks");

  EXPECT_FALSE(graphics.OpenWebPage("https://example.org", "Update", "Open the page?", ""));
  window.AnswerMessage(GraphicsBackEnd::kAnswerYes);
  EXPECT_TRUE(graphics.OpenWebPage("https://example.org", "Update", "Open the page?", ""));
  EXPECT_EQ(window.OpenedPages(), std::vector<std::string>{"https://example.org"});
}

// Dialogs that add the extension themselves asked about the name as typed; a file under
// the extended name is asked about here, and kept unless the user agrees.
TEST_F(EditorTest, ASavedNameGainsItsExtensionAndReplacingIsAskedAgain) {
  Open();
  const std::string dir = testing::TempDir() + "save-as";
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "/song.fxb") << "kept";
  using B = GraphicsBackEnd;
  const struct {
    std::string answer;
    B::FileMode mode;
    B::MessageAnswer reply;  // to the question about replacing, when asked
    std::string chosen;
  } cases[] = {{dir + "/song", B::kSaveFile, B::kAnswerNo, ""},
               {dir + "/song", B::kSaveFile, B::kAnswerYes, dir + "/song.fxb"},
               {dir + "/song.FXB", B::kSaveFile, B::kAnswerOk, dir + "/song.FXB"},
               {dir + "/new", B::kSaveFile, B::kAnswerOk, dir + "/new.fxb"},
               {dir + "/song", B::kOpenFile, B::kAnswerOk, dir + "/song"},
               {dir, B::kChooseFolder, B::kAnswerOk, dir}};
  for (const auto& c : cases) {
    const size_t before = window.Messages().size();
    window.AnswerFile(c.answer);
    if (c.reply != B::kAnswerOk) window.AnswerMessage(c.reply);
    std::string file = "suggested";
    std::string folder = "start";
    graphics.ChooseFile(file, c.mode, folder, "fxb");
    EXPECT_EQ(file + " in " + folder, c.chosen + " in " + (c.chosen.empty() ? "start" : dir));
    EXPECT_EQ(window.Messages().size() - before, c.reply != B::kAnswerOk ? 1u : 0u) << c.answer;
  }
  EXPECT_EQ(window.Messages().back().text, "song.fxb already exists.\nDo you want to replace it?");
  std::filesystem::remove_all(dir);
}

TEST_F(EditorTest, ValuesArrivingWhileClosedAreShownOnOpen) {
  ProbeControl* volume = AddProbe({0, 0, 50, 50}, kVolume);
  graphics.UpdateControlsForParameter(kVolume, 0.25, true);
  graphics.UpdateControlsForParameter(kDco1Octave, 1.0, false);  // plain value
  EXPECT_EQ(volume->Value(), 0.0);  // nothing is touched off the editor's thread
  Open();
  EXPECT_EQ(volume->Value(), 0.25);
  EXPECT_EQ(volume->DefaultValue(), 0.25);
  graphics.UpdateControlsForParameter(kVolume, std::nan(""), true);
  graphics.OnTimer();
  EXPECT_EQ(volume->Value(), 0.0);                     // stored sane when drawn
  graphics.UpdateControlsForParameter(-5, 1.0, true);  // ignored
  graphics.UpdateControlsForParameter(1000, 1.0, true);

  // Another thread only stores values; the editor's tick shows the last one.
  std::thread automation([&] {
    for (int i = 0; i <= 1000; ++i) graphics.UpdateControlsForParameter(kVolume, i / 1000.0, true);
  });
  for (int i = 0; i < 100; ++i) graphics.OnTimer();
  automation.join();
  graphics.OnTimer();
  EXPECT_EQ(volume->Value(), 1.0);
}

}  // namespace
