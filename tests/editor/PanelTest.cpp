// The front panel built by the instrument, driven through a window without a screen: where
// every control draws, what clicks and drags tell the host, and the two-digit programmer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "control/ParameterIndex.h"
#include "editor/HeadlessBackEnd.h"
#include "editor/IFaderControl.h"
#include "editor/IGraphics.h"
#include "editor/IZKInfoDisplay.h"
#include "editor/IZKTapeLoadDialog.h"
#include "engine/ParameterNumbers.h"
#include "engine/Tarsyn7.h"
#include "tests/SettingsHome.h"
#include "tests/host/TestHost.h"

namespace {

constexpr MouseModifiers kLeft{true, false, false, false, false};

// Control indices of the layout.
constexpr int kRecordSwitch = 11;
constexpr int kStep = 12;
constexpr int kStartStop = 13;
constexpr int kDigit[9] = {-1, 17, 18, 19, 20, 21, 22, 23, 24};
constexpr int kProgPara = 25;
constexpr int kBankHold = 26;
constexpr int kDown = 27;
constexpr int kUp = 28;
constexpr int kLearnButton = 38;
constexpr int kTapeDialog = 89;

// Where each control draws, after the panel's layout (rows 0-38 and 89).
const Rect kRects[] = {
    {0, 0, 1054, 600},      {6, 5, 490, 19},      {500, 5, 644, 17},    {528, 32, 786, 84},
    {176, 72, 280, 96},     {26, 55, 138, 75},    {41, 144, 121, 224},  {16, 244, 62, 264},
    {92, 244, 148, 264},    {170, 130, 186, 242}, {242, 130, 258, 242}, {286, 114, 305, 133},
    {288, 144, 304, 224},   {328, 144, 344, 224}, {386, 144, 402, 224}, {428, 144, 444, 224},
    {470, 144, 486, 224},   {530, 198, 572, 210}, {590, 198, 632, 210}, {650, 198, 692, 210},
    {530, 164, 572, 176},   {590, 164, 632, 176}, {650, 164, 692, 176}, {530, 130, 572, 142},
    {590, 130, 632, 142},   {650, 130, 692, 142}, {574, 232, 648, 244}, {718, 144, 734, 224},
    {760, 144, 776, 224},   {873, 12, 974, 37},   {888, 54, 906, 94},   {946, 54, 964, 94},
    {1004, 54, 1022, 94},   {932, 243, 976, 253}, {890, 130, 906, 242}, {948, 130, 964, 242},
    {1006, 130, 1022, 242}, {978, 18, 1042, 48},  {784, 144, 836, 252},
};

// The chart columns' left edges, parameters 5-54, and their rows.
const int kColumnX[] = {18,  58,  98,  138, 178, 218, 258, 302, 346, 386, 426, 466, 506,
                        546, 586, 626, 666, 710, 754, 794, 834, 874, 914, 954, 998, 18,
                        58,  98,  138, 178, 218, 262, 302, 342, 382, 422, 462, 506, 546,
                        586, 626, 666, 706, 750, 790, 830, 870, 915, 956, 997};

Rect ColumnRect(int parameter) {
  const int x = kColumnX[parameter - 5];
  const int y = parameter <= 29 ? 338 : 474;
  return {x, y, x + 38, y + 92};
}

class Plug : public Tarsyn7 {
 public:
  Plug() : Tarsyn7(&TestHost::Callback) {}
  void ParameterChanged(int index) override {
    changed.push_back(index);
    Tarsyn7::ParameterChanged(index);
  }
  std::vector<int> changed;
};

class PanelTest : public SettingsHome {
 protected:
  void SetUp() override {
    SettingsHome::SetUp();
    TestHost::active = &host;
    plug = std::make_unique<Plug>();
    editor = plug->Editor();
    window = std::make_unique<HeadlessBackEnd>(*editor);
    ASSERT_TRUE(editor->OpenWindow(window.get()));
    editor->OnTimer();
  }
  void TearDown() override {
    editor->CloseWindow();
    plug.reset();
    TestHost::active = nullptr;
    SettingsHome::TearDown();
  }

  IControl* Control(int index) const { return editor->GetControl(index); }
  void ClickAt(int x, int y) {
    editor->OnMouseDown(x, y, kLeft);
    editor->OnMouseUp(x, y, kLeft);
  }
  void Click(int index) {
    const Rect& r = Control(index)->DrawRect();
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void Digits(std::initializer_list<int> digits) {
    for (int digit : digits) Click(kDigit[digit]);
  }
  std::array<int32_t, 6> Shown() { return plug->DisplayState().digits; }
  BitmapStrip Strip(int id, int frames) {
    return editor->LoadStrip(id, "resources/img/x.png", frames);
  }
  // The screen shows the frame over the background at (x, y), its top `rows` rows or all
  // of it; frame 0: the background only.
  bool Shows(const BitmapStrip& strip, int frame, int x, int y, int rows = 1 << 30) {
    const BitmapStrip back = Strip(101, 1);
    Bitmap expected(strip.FrameWidth(), strip.FrameHeight());
    Canvas canvas(expected);
    canvas.Blit(*back.image, Rect{0, 0, expected.Width(), expected.Height()}.MovedTo(x, y), 0, 0);
    if (frame > 0) canvas.Blit(*strip.image, strip.FrameRect(frame), 0, 0);
    for (int row = 0; row < std::min(rows, expected.Height()); ++row) {
      for (int column = 0; column < expected.Width(); ++column) {
        if (expected.At(column, row) != window->Screen().At(x + column, y + row)) return false;
      }
    }
    return true;
  }
  double Normalized(int parameter) const { return plug->GetParameter(parameter)->Normalized(); }
  int SwitchFrame(int parameter) const {
    return static_cast<int>(std::lround(Normalized(parameter))) + 1;
  }
  int HandleTop(int top, int travel, int handle, double value) const {
    return top + static_cast<int>((travel - handle) * (1.0 - value));
  }

  TestHost host;
  std::unique_ptr<Plug> plug;
  IGraphics* editor = nullptr;
  std::unique_ptr<HeadlessBackEnd> window;
};

TEST_F(PanelTest, EveryControlDrawsItsFrameOverTheBackgroundAtItsPlace) {
  ASSERT_EQ(editor->ControlCount(), 90);
  for (int i = 0; i < 39; ++i) EXPECT_EQ(Control(i)->DrawRect(), kRects[i]) << "control " << i;
  for (int parameter = 5; parameter <= 54; ++parameter) {
    const IControl* column = Control(parameter + 34);
    EXPECT_EQ(column->ParameterIndex(), parameter);
    EXPECT_EQ(column->DrawRect(), ColumnRect(parameter));
    // Hidden until hovered: the printed chart shows.
    EXPECT_TRUE(Shows(Strip(116, 1), 0, column->DrawRect().left, column->DrawRect().top));
  }
  EXPECT_EQ(Control(kTapeDialog)->DrawRect(), (Rect{399, 200, 655, 400}));
  EXPECT_TRUE(Control(kTapeDialog)->IsHidden());

  const BitmapStrip handleV = Strip(114, 1);
  EXPECT_TRUE(Shows(Strip(117, 2), 1, 176, 72));
  EXPECT_TRUE(Shows(Strip(112, 1), 1, 26 + static_cast<int>(82 * Normalized(kTune)), 55));
  EXPECT_TRUE(Shows(Strip(121, 65), static_cast<int>(64 * Normalized(kVolume) + 0.5) + 1, 41, 144));
  EXPECT_TRUE(Shows(Strip(122, 1), Normalized(kGainBoost) >= 0.5 ? 1 : 0, 18, 250));
  EXPECT_TRUE(Shows(Strip(122, 1), Normalized(kBrightness) >= 0.5 ? 1 : 0, 138, 250));
  const int faders[][2] = {{kBend, 170},
                           {kSeqFrequency, 242},
                           {kModWheelToDco, 890},
                           {kModWheelToVcf, 948},
                           {kVelocity, 1006}};
  for (const auto& [parameter, x] : faders) {
    EXPECT_TRUE(Shows(handleV, 1, x, HandleTop(130, 112, 30, Normalized(parameter))));
  }
  EXPECT_TRUE(Shows(Strip(119, 2), 1, 286, 114));
  for (int i = 12; i <= 28; ++i) {
    const int id = i == 13 ? 103 : i == 26 ? 104 : i == 25 ? 106 : i >= 17 && i <= 24 ? 107 : 102;
    EXPECT_TRUE(Shows(Strip(id, 2), 1, kRects[i].left, kRects[i].top)) << "button " << i;
  }
  EXPECT_TRUE(Shows(Strip(118, 2), SwitchFrame(kLegacyMode), 873, 12));
  EXPECT_TRUE(Shows(Strip(120, 2), SwitchFrame(kVoices), 888, 54));
  EXPECT_TRUE(Shows(Strip(120, 2), SwitchFrame(kGodMode), 946, 54));
  EXPECT_TRUE(Shows(Strip(120, 2), SwitchFrame(kStereoChorus), 1004, 54));
  EXPECT_TRUE(Shows(Strip(123, 2), 1, 932, 243));  // WHEEL
  EXPECT_TRUE(Shows(Strip(105, 2), 1, 802, 144));
  EXPECT_TRUE(Shows(Strip(115, 2), 1, 784, 244));  // LEARN

  // Program 1 of bank 1 in program mode: "11", dark, "P", dark, dark.
  const bool green = Normalized(kLegacyMode) < 0.5;
  const BitmapStrip digits = Strip(green ? 109 : 108, 15);
  const int frames[] = {2, 2, 15, 12, 15, 15};
  const int offsets[] = {7, 40, 97, 130, 192, 225};
  // (Points overlap the lower right corners of digits 1, 3 and 6.)
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(Shows(digits, frames[i], 528 + offsets[i], 40, 30)) << i;
  const BitmapStrip point = Strip(green ? 111 : 110, 2);
  EXPECT_TRUE(Shows(point, 1, 528 + 29, 70));
  EXPECT_TRUE(Shows(point, Normalized(kDcoMode) >= 0.5 ? 2 : 1, 528 + 119, 70));
}

TEST_F(PanelTest, ClicksAndDragsOnEveryBoundControlReachTheHostAsOneGesture) {
  int bound = 0;
  for (int i = 0; i < editor->ControlCount(); ++i) {
    IControl* control = Control(i);
    const int parameter = control->ParameterIndex();
    if (parameter < 0) continue;
    ++bound;
    const auto* fader = dynamic_cast<const IFaderControl*>(control);
    const Rect area = fader ? fader->HandleRect() : control->TargetRect();
    const int x = (area.left + area.right) / 2;
    const int y = (area.top + area.bottom) / 2;
    host.automated.clear();
    host.gestures.clear();
    editor->OnMouseDown(x, y, kLeft);
    EXPECT_EQ(editor->CapturedControl(), i);
    editor->OnMouseDrag(x + 5, y - 9, kLeft);
    editor->OnMouseUp(x + 5, y - 9, kLeft);
    EXPECT_EQ(host.gestures, (std::vector<int32_t>{parameter, -(parameter + 1)})) << i;
    ASSERT_FALSE(host.automated.empty()) << "control " << i;
    for (const auto& automated : host.automated) EXPECT_EQ(automated.first, parameter);
  }
  EXPECT_EQ(bound, 63);

  // Margins and tracks.
  editor->OnMouseDown(282, 140, kLeft);  // 8 pixels around STEP
  EXPECT_EQ(editor->CapturedControl(), kStep);
  EXPECT_EQ(Control(kStep)->Value(), 1.0);
  editor->OnMouseUp(282, 140, kLeft);
  EXPECT_EQ(Control(kStep)->Value(), 0.0);
  const Rect handle = dynamic_cast<const IFaderControl*>(Control(9))->HandleRect();
  editor->OnMouseDown(178, handle.top > 140 ? 132 : 240, kLeft);  // Bend's track, off the handle
  EXPECT_EQ(editor->CapturedControl(), 0);
  editor->OnMouseUp(178, 132, kLeft);
  static_cast<IZKTapeLoadDialog*>(Control(kTapeDialog))->Show(IZKTapeLoadDialog::kPrograms);
  editor->OnMouseDown(60, 180, kLeft);  // on the volume knob, under the dialog
  EXPECT_EQ(editor->CapturedControl(), kTapeDialog);
  editor->OnMouseUp(60, 180, kLeft);
}

TEST_F(PanelTest, ProgramModeChoosesBankAndNumber) {
  Digits({3});
  EXPECT_EQ(Shown()[0], 3);
  EXPECT_EQ(Shown()[1], PanelDisplayState::kDash);
  Digits({5});
  EXPECT_EQ(plug->CurrentPreset(), 20);
  EXPECT_EQ(Shown()[0], 3);
  EXPECT_EQ(Shown()[1], 5);
  Click(kBankHold);
  EXPECT_TRUE(plug->DisplayState().points[0]);
  Digits({7});
  EXPECT_EQ(plug->CurrentPreset(), 22);
  Click(kBankHold);
  Digits({8, 8});
  Click(kUp);
  EXPECT_EQ(plug->CurrentPreset(), 0);
  Click(kDown);
  EXPECT_EQ(plug->CurrentPreset(), 63);
}

TEST_F(PanelTest, ParameterModeSelectsByChartNumberAndStepsTheValueAudibly) {
  Click(kProgPara);
  Digits({4, 7});  // no parameter 47: the 4 stays pending
  EXPECT_EQ(Shown()[2], 4);
  EXPECT_EQ(Shown()[3], PanelDisplayState::kDash);
  Digits({8});
  EXPECT_EQ(Shown()[2], 4);
  EXPECT_EQ(Shown()[3], 8);
  Digits({4, 1});  // "VCF Cutoff"
  const double before = plug->GetParameter(kVcfCutoff)->Value();
  ASSERT_GT(before, 0.0);
  EXPECT_FALSE(plug->DisplayState().points[2]);
  host.automated.clear();
  plug->changed.clear();
  Click(kDown);
  EXPECT_EQ(plug->GetParameter(kVcfCutoff)->Value(), std::round(before - 1));
  ASSERT_EQ(host.automated.size(), 1u);
  EXPECT_EQ(host.automated[0].first, kVcfCutoff);
  EXPECT_EQ(plug->changed, std::vector<int>{kVcfCutoff});  // the engine follows at once
  EXPECT_TRUE(plug->DisplayState().points[2]);
  const long shown = std::lround(before - 1);
  EXPECT_EQ(Shown()[4], shown / 10 % 10);
  EXPECT_EQ(Shown()[5], shown % 10);
  editor->OnTimer();
  EXPECT_EQ(Control(kVcfCutoff + 34)->Value(), Normalized(kVcfCutoff));

  // UP at the maximum stays; BANK HOLD holds the group.
  plug->GetParameter(kVcfCutoff)->SetNormalized(1.0);
  Click(kUp);
  EXPECT_EQ(plug->GetParameter(kVcfCutoff)->Normalized(), 1.0);
  Click(kBankHold);
  Digits({5});
  EXPECT_EQ(Shown()[3], 5);  // 45, "EG Intensity"
  Click(kProgPara);
  EXPECT_FALSE(plug->DisplayState().points[0]);
  EXPECT_EQ(Shown()[3], PanelDisplayState::kP);
}

TEST_F(PanelTest, ChartNumbersSelectTheirColumns) {
  for (int parameter = 5; parameter <= 54; ++parameter) {
    int group = 0;
    int item = 0;
    ASSERT_TRUE(NumberOfParameter(parameter, group, item));
    EXPECT_EQ(ParameterOfNumber(group, item), parameter);
  }
  for (const auto& [group, item] : {std::pair{4, 7}, {8, 5}, {3, 4}, {2, 8}, {9, 1}, {0, 1}}) {
    EXPECT_EQ(ParameterOfNumber(group, item), -1);
  }
  editor->OnMouseDown(ColumnRect(kVcfCutoff).left + 3, ColumnRect(kVcfCutoff).bottom - 2, kLeft);
  editor->OnMouseUp(ColumnRect(kVcfCutoff).left + 3, ColumnRect(kVcfCutoff).bottom - 2, kLeft);
  EXPECT_EQ(Shown()[2], 4);
  EXPECT_EQ(Shown()[3], 1);
}

// Three keys recorded one after the other (a released key closes its step), eight rests
// by STEP; played back, the keys follow each other a step apart and start over.
TEST_F(PanelTest, SequencerButtonsRecordStepsAndPlayThemInTime) {
  plug->ChangeSampleRate(44100.0);
  plug->ChangeBlockSize(441);
  plug->ResetProcessing();
  plug->ActivationChanged(true);
  std::vector<double> left(441), right(441);
  std::vector<int> keys;  // the sounding key of each block, -1 none
  auto render = [&](int blocks) {
    for (int block = 0; block < blocks; ++block) {
      double* outputs[] = {left.data(), right.data()};
      plug->RenderBlock(nullptr, outputs, 441);
      keys.push_back(-1);
      for (int v = 0; v < Tarsyn7::kVoiceCount; ++v) {
        if (plug->GetVoice(v).Gate()) keys.back() = plug->GetVoice(v).Key();
      }
    }
  };
  Click(kRecordSwitch);
  Click(kStartStop);
  for (int key : {60, 64, 67}) {
    plug->HandleMidiMessage({0, 0x90, static_cast<uint8_t>(key), 100});
    render(1);
    plug->HandleMidiMessage({0, 0x80, static_cast<uint8_t>(key), 0});
    render(1);
  }
  for (int i = 0; i < 8; ++i) Click(kStep);
  EXPECT_EQ(Shown(), (std::array<int32_t, 6>{1, 1, PanelDisplayState::kS, 0, 1, 2}));
  Click(kRecordSwitch);
  ASSERT_EQ(plug->GetSequence().size(), 11u);

  keys.clear();
  Click(kStartStop);
  render(200);  // two seconds; a step lasts 5512.5 samples, 12.5 blocks
  std::vector<int> order;
  std::vector<int> starts;
  for (size_t block = 0; block < keys.size(); ++block) {
    if (keys[block] >= 0 && (block == 0 || keys[block - 1] != keys[block])) {
      order.push_back(keys[block]);
      starts.push_back(static_cast<int>(block));
    }
  }
  ASSERT_GE(order.size(), 4u);
  EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 4), (std::vector<int>{60, 64, 67, 60}));
  EXPECT_NEAR(starts[1] - starts[0], 12.5, 1.0);
  EXPECT_NEAR(starts[3] - starts[0], 11 * 12.5, 1.0);
}

TEST_F(PanelTest, ErasingARecordedSequenceAsksFirst) {
  plug->SetSequence({SequenceStep{false, {{60, 100}}}});
  Click(kRecordSwitch);
  window->AnswerMessage(GraphicsBackEnd::kAnswerNo);
  Click(kStartStop);
  ASSERT_EQ(window->Messages().size(), 1u);
  EXPECT_EQ(window->Messages()[0].caption, "Erase Sequence");
  EXPECT_NE(plug->CurrentKeyMode(), Tarsyn7::kRecording);
  window->AnswerMessage(GraphicsBackEnd::kAnswerYes);
  Click(kStartStop);
  EXPECT_EQ(plug->CurrentKeyMode(), Tarsyn7::kRecording);
}

TEST_F(PanelTest, TapeDialogTakesWholeNumbersInRange) {
  auto* dialog = static_cast<IZKTapeLoadDialog*>(Control(kTapeDialog));
  dialog->Show(IZKTapeLoadDialog::kPrograms);
  auto type = [&](int x, int y, const std::string& text) {
    ClickAt(x, y);
    window->SetEntryText(text);
    editor->RequestTextEntryCommit();
    editor->OnTimer();
  };
  type(570, 316, "123");
  EXPECT_EQ(SharedTapeReadSettings().threshold, 12);
  for (const char* refused : {"0", "-5", "1e3", "nan", ""}) type(570, 316, refused);
  EXPECT_EQ(SharedTapeReadSettings().threshold, 12);
  type(570, 236, "99999");
  EXPECT_EQ(SharedTapeReadSettings().highpassFrequency, 20000);
  type(570, 276, "3");
  EXPECT_EQ(SharedTapeReadSettings().lowpassFrequency, 10);
  window->AnswerFile("");
  ClickAt(470, 372);  // OK, then no file chosen
  EXPECT_TRUE(dialog->IsHidden());
}

TEST_F(PanelTest, FinishedLearnReleasesTheButtonOnTheEditorsTimer) {
  Click(kLearnButton);
  EXPECT_TRUE(plug->MidiLearnArmed());
  plug->Learn().CaptureController(20);  // as the audio thread does
  plug->Learn().CaptureParameter(kVcfCutoff);
  EXPECT_FALSE(plug->MidiLearnArmed());
  Click(kLearnButton);  // before the redraw: arms again, not off
  EXPECT_TRUE(plug->MidiLearnArmed());
  plug->Learn().CaptureController(21);
  plug->Learn().CaptureParameter(kVcfResonance);
  for (int tick = 0; tick < IGraphics::kCleanTicksPerIdle + 3; ++tick) editor->OnTimer();
  EXPECT_EQ(Control(kLearnButton)->Value(), 0.0);
  EXPECT_TRUE(Shows(Strip(105, 2), 1, 802, 144));
}

TEST(InfoLine, TempoIsBoundedAndStatusNamed) {
  InfoLineState line;
  line.chordNotes = 3;
  line.tempo = std::nan("");
  line.noteValue = "1/16";
  line.steps = 7;
  EXPECT_EQ(IZKInfoDisplay::MainText(line),
            "CHORD: 3 NOTES  |  TEMPO: 0 1/16  |  SEQUENCER: 7 STEPS");
  line.tempo = 1e300;
  EXPECT_NE(IZKInfoDisplay::MainText(line).find("TEMPO: 9999 "), std::string::npos);
  EXPECT_STREQ(IZKInfoDisplay::StatusText(InfoLineState::kWaitingForNote), "WAITING FOR NOTE...");
}

}  // namespace
