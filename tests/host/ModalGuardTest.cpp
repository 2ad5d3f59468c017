// A host that closes the editor or the plug-in while a menu or message box waits for the
// user: nothing is destroyed under the dialog (the sanitized build checks the memory).
#include <gtest/gtest.h>

#include "editor/IGraphics.h"
#include "engine/Tarsyn7.h"
#include "tests/host/TestHost.h"

namespace {

// What the window saw; it outlives the window.
struct Seen {
  int knob = -1;
  GraphicsBackEnd::MessageAnswer answer = GraphicsBackEnd::kAnswerCancel;
  bool captureKept = true;
  int chosen = -1;
  bool destroyed = false;
};

// A window whose idle call does what a click on a knob and then on a menu button would:
// a press, a message box, a menu and a note to the host. The host answers the message box by
// dispatching `hostCall` (none when 0).
class ClosingWindow : public EditorWindow {
 public:
  ClosingWindow(Tarsyn7& plug, int32_t hostCall, Seen& seen)
      : plug_(plug), hostCall_(hostCall), seen_(seen) {}
  ~ClosingWindow() override { seen_.destroyed = true; }

  void Idle() override {
    IGraphics& graphics = *plug_.GetEditor();
    for (int i = 0; i < graphics.ControlCount() && graphics.CapturedControl() < 0; ++i) {
      const Rect& area = graphics.GetControl(i)->TargetRect();
      if (!graphics.GetControl(i)->IsBound() || area.Empty()) continue;
      graphics.OnMouseDown((area.left + area.right) / 2, (area.top + area.bottom) / 2, {});
      seen_.knob = graphics.CapturedControl();
    }
    seen_.answer = graphics.ShowMessage("Erase?", "Question", kYesNo);
    seen_.captureKept = graphics.CapturedControl() >= 0;
    PopupMenu menu;
    menu.AddItem("First");
    PopupMenu* chosen = graphics.ShowPopupMenu(menu, {0, 0, 10, 10});
    seen_.chosen = chosen ? chosen->ChosenIndex() : -1;
    plug_.HostProgramChanged();  // as a command that changed programs would
  }
  MessageAnswer ShowMessage(const std::string&, const std::string&, MessageStyle) override {
    AEffect* effect = plug_.Effect();
    if (hostCall_) effect->dispatcher(effect, hostCall_, 0, 0, nullptr, 0.0f);
    return kAnswerYes;
  }
  int TrackPopupMenu(const PopupMenu&, int, int) override { return 0; }
  void Present(const Bitmap&, const Rect&) override {}
  std::string ChooseFile(const FileRequest&) override { return {}; }
  void OpenTextEntryBox(const Rect&, const TextStyle&, const std::string&) override {}
  std::string TextEntryBoxText() override { return {}; }
  void CloseTextEntryBox() override {}
  void ShowTooltip(const std::string&) override {}
  void HideTooltip() override {}
  bool OpenWebPage(const std::string&) override { return false; }
  std::string ClipboardText() override { return {}; }

 private:
  Tarsyn7& plug_;
  int32_t hostCall_;
  Seen& seen_;
};

class ModalGuard : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!IPlugVST::kEditorHasWindow) GTEST_SKIP() << "this build offers no editor window";
  }
  bool Open(int32_t hostCall, Seen& into) {
    return plug->OpenEditorIn(std::make_unique<ClosingWindow>(*plug, hostCall, into));
  }
  VstIntPtr Dispatch(int32_t opcode) {
    return effect->dispatcher(effect, opcode, 0, 0, nullptr, 0.0f);
  }

  TestHost host;
  ActiveHost activate{&host};
  Tarsyn7* plug = new Tarsyn7(&TestHost::Callback);
  AEffect* effect = plug->Effect();
  Seen seen;
};

TEST_F(ModalGuard, AnsweredDialogsLetThePressGoAndTheWindowStays) {
  ASSERT_TRUE(Open(0, seen));
  Dispatch(effEditIdle);
  EXPECT_EQ(seen.answer, GraphicsBackEnd::kAnswerYes);
  EXPECT_FALSE(seen.captureKept);  // the release went to the dialog
  EXPECT_EQ(seen.chosen, 0);
  const int32_t parameter = plug->GetEditor()->GetControl(seen.knob)->ParameterIndex();
  EXPECT_EQ(host.gestures, (std::vector<int32_t>{parameter, -(parameter + 1)}));
  EXPECT_EQ(host.updateDisplay, 1);
  EXPECT_FALSE(seen.destroyed);
  Dispatch(effClose);
  EXPECT_TRUE(seen.destroyed);
}

TEST_F(ModalGuard, EditorClosedUnderADialogLivesUntilItReturns) {
  ASSERT_TRUE(Open(effEditClose, seen));
  Dispatch(effEditIdle);
  // Both dialogs answer as dismissed once the window is gone; it goes after the idle call.
  EXPECT_EQ(seen.answer, GraphicsBackEnd::kAnswerCancel);
  EXPECT_EQ(seen.chosen, -1);
  EXPECT_TRUE(seen.destroyed);
  Seen reopened;
  EXPECT_TRUE(Open(0, reopened));
  Dispatch(effClose);
  EXPECT_TRUE(reopened.destroyed);
}

TEST_F(ModalGuard, PlugInClosedUnderADialogIsDeletedWhenTheHostCallEnds) {
  ASSERT_TRUE(Open(effClose, seen));
  Dispatch(effEditIdle);
  EXPECT_TRUE(seen.destroyed);
  EXPECT_EQ(seen.chosen, -1);
  // The press's gesture ends before the effect is closed; then the host hears nothing more.
  EXPECT_EQ(host.gestures.size(), 2u);
  EXPECT_EQ(host.updateDisplay, 0);
}

}  // namespace
