#include "editor/PanelLayout.h"

#include "control/ParameterIndex.h"
#include "editor/EditorImages.h"
#include "editor/IBitmapControl.h"
#include "editor/IGraphics.h"
#include "editor/ITextControl.h"
#include "editor/IZKInfoDisplay.h"
#include "editor/IZKKnobControl.h"
#include "editor/IZKLEDSwitch.h"
#include "editor/IZKNumberDisplay.h"
#include "editor/IZKOptionMenu.h"
#include "editor/IZKParamPanelControl.h"
#include "editor/IZKPresetName.h"
#include "editor/IZKSeqRecordSwitch.h"
#include "editor/IZKSliderControl.h"
#include "editor/IZKSwitchControl.h"
#include "editor/IZKSwitchMidiLearn.h"
#include "editor/IZKTapeLoadDialog.h"
#include "editor/IZKUtilityKick.h"
#include "editor/PanelPlug.h"

namespace {

constexpr int kFirstChartParameter = 5;
constexpr int kLastChartParameter = 54;

// A run of chart columns: parameters first..last from x, `pitch` pixels apart.
struct ChartGroup {
  int first;
  int last;
  int x;
  int y;
  int pitch;
};

constexpr ChartGroup kChartGroups[] = {
    {5, 11, 18, 338, 40},   {12, 12, 302, 338, 40}, {13, 21, 346, 338, 40}, {22, 22, 710, 338, 40},
    {23, 28, 754, 338, 40}, {29, 29, 998, 338, 40}, {30, 35, 18, 474, 40},  {36, 41, 262, 474, 40},
    {42, 47, 506, 474, 40}, {48, 51, 750, 474, 40}, {52, 54, 915, 474, 41},
};

// The front-panel push buttons: position, tag (the negated command) and picture.
struct PushButton {
  int x;
  int y;
  int tag;
  int image;
};

constexpr PushButton kPushButtons[] = {
    {288, 144, -87, 102},  {328, 144, -88, 103},  {386, 144, -89, 102},  {428, 144, -90, 102},
    {470, 144, -91, 102},  {530, 198, -92, 107},  {590, 198, -93, 107},  {650, 198, -94, 107},
    {530, 164, -95, 107},  {590, 164, -96, 107},  {650, 164, -97, 107},  {530, 130, -98, 107},
    {590, 130, -99, 107},  {650, 130, -101, 106}, {574, 232, -100, 104}, {718, 144, -102, 102},
    {760, 144, -103, 102},
};

class Strips {
 public:
  explicit Strips(IGraphics& graphics) : graphics_(graphics) {}
  BitmapStrip operator()(int id) const {
    for (const EditorImage& image : kEditorImages) {
      if (image.id == id) return graphics_.LoadStrip(id, image.file, image.frames);
    }
    return {};
  }

 private:
  IGraphics& graphics_;
};

TextStyle VersionStyle() {
  TextStyle style;
  style.font = "Arial";
  style.color = {128, 255, 255, 255};
  style.align = TextStyle::kRight;
  return style;
}

}  // namespace

bool ChartColumnPosition(int parameter, int& x, int& y) {
  for (const ChartGroup& group : kChartGroups) {
    if (parameter >= group.first && parameter <= group.last) {
      x = group.x + (parameter - group.first) * group.pitch;
      y = group.y;
      return true;
    }
  }
  return false;
}

PanelControls BuildEditor(IGraphics& graphics, IPlugBase* plug, PanelPlug& panel) {
  graphics.Resize(1054, 600);
  graphics.SetMouseOverHandling(true);
  graphics.SetTooltips(true);
  const Strips strip(graphics);
  const BitmapStrip verticalHandle = strip(114);
  PanelControls kept;

  graphics.AttachControl(new IBitmapControl(plug, 0, 0, -1, strip(101)));
  kept.infoDisplay = new IZKInfoDisplay(plug, panel);
  graphics.AttachControl(kept.infoDisplay);
  graphics.AttachControl(new IZKPresetName(plug, panel));
  kept.numberDisplay =
      new IZKNumberDisplay(plug, panel, {strip(108), strip(109), strip(110), strip(111)});
  graphics.AttachControl(kept.numberDisplay);
  graphics.AttachControl(
      new IZKOptionMenu(plug, panel, 176, 72, IZKOptionMenu::kMenuTag, strip(117)));
  graphics.AttachControl(
      new IZKSliderControl(plug, panel, 26, 55, kTune, strip(112), IFaderControl::kHorizontal));
  graphics.AttachControl(new IZKKnobControl(plug, kVolume, strip(121)));
  graphics.AttachControl(
      new IZKLEDSwitch(plug, {16, 244, 62, 264}, kGainBoost, strip(122), {18, 250, 26, 258}));
  graphics.AttachControl(
      new IZKLEDSwitch(plug, {92, 244, 148, 264}, kBrightness, strip(122), {138, 250, 146, 258}));
  graphics.AttachControl(
      new IZKSliderControl(plug, panel, 170, 130, kBend, verticalHandle, IFaderControl::kVertical));
  graphics.AttachControl(new IZKSliderControl(plug, panel, 242, 130, kSeqFrequency, verticalHandle,
                                              IFaderControl::kVertical));
  graphics.AttachControl(new IZKSeqRecordSwitch(plug, panel, strip(119)));
  for (const PushButton& button : kPushButtons) {
    graphics.AttachControl(
        new IZKUtilityKick(plug, panel, button.x, button.y, button.tag, strip(button.image)));
  }
  graphics.AttachControl(new ISwitchControl(plug, 873, 12, kLegacyMode, strip(118)));
  graphics.AttachControl(new ISwitchControl(plug, 888, 54, kVoices, strip(120)));
  graphics.AttachControl(new ISwitchControl(plug, 946, 54, kGodMode, strip(120)));
  graphics.AttachControl(new ISwitchControl(plug, 1004, 54, kStereoChorus, strip(120)));
  graphics.AttachControl(
      new IZKSwitchControl(plug, panel, 932, 243, IZKSwitchControl::kBreathTag, strip(123)));
  graphics.AttachControl(new IZKSliderControl(plug, panel, 890, 130, kModWheelToDco, verticalHandle,
                                              IFaderControl::kVertical));
  graphics.AttachControl(new IZKSliderControl(plug, panel, 948, 130, kModWheelToVcf, verticalHandle,
                                              IFaderControl::kVertical));
  graphics.AttachControl(new IZKSliderControl(plug, panel, 1006, 130, kVelocity, verticalHandle,
                                              IFaderControl::kVertical));
  graphics.AttachControl(new ITextControl(plug, {978, 18, 1042, 48}, VersionStyle(), "v.2.5.1.N"));
  panel.ArmMidiLearn(false, false);
  kept.midiLearn = new IZKSwitchMidiLearn(plug, panel, -83, strip(105), strip(115));
  graphics.AttachControl(kept.midiLearn);
  const BitmapStrip leverHandle = strip(113);
  const BitmapStrip lever = strip(116);
  for (int parameter = kFirstChartParameter; parameter <= kLastChartParameter; ++parameter) {
    int x = 0;
    int y = 0;
    ChartColumnPosition(parameter, x, y);
    graphics.AttachControl(
        new IZKParamPanelControl(plug, panel, x, y, parameter, leverHandle, lever));
  }
  kept.tapeDialog = new IZKTapeLoadDialog(plug, panel, graphics.Width(), graphics.Height());
  graphics.AttachControl(kept.tapeDialog);
  return kept;
}
