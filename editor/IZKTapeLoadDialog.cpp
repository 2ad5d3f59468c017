#include "editor/IZKTapeLoadDialog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "editor/IGraphics.h"
#include "editor/PanelPlug.h"
#include "host/IPlugBase.h"
#include "programs/TapeReadSettings.h"

namespace {

constexpr Rect kHighpassLabel{424, 228, 504, 242};
constexpr Rect kHighpassCircle{509, 228, 525, 244};
constexpr Rect kHighpassBox{535, 224, 607, 248};
constexpr Rect kHighpassText{553, 228, 589, 246};
constexpr Rect kHighpassUnit{610, 228, 634, 242};
constexpr Rect kLowpassLabel{424, 268, 504, 282};
constexpr Rect kLowpassCircle{509, 268, 525, 284};
constexpr Rect kLowpassBox{535, 264, 607, 288};
constexpr Rect kLowpassText{553, 268, 589, 286};
constexpr Rect kLowpassUnit{610, 268, 634, 282};
constexpr Rect kThresholdLabel{424, 308, 504, 322};
constexpr Rect kThresholdBox{535, 304, 607, 328};
constexpr Rect kThresholdText{562, 308, 580, 326};
constexpr Rect kThresholdUnit{610, 308, 634, 322};
constexpr Rect kOkButton{423, 360, 519, 384};
constexpr Rect kOkText{423, 364, 519, 384};
constexpr Rect kCancelButton{535, 360, 631, 384};
constexpr Rect kCancelText{535, 364, 631, 384};
constexpr double kCircleRadius = 8.0;

constexpr Color kWhite{255, 255, 255, 255};
constexpr Color kGrey{255, 127, 127, 127};
constexpr Color kGreen{255, 0, 255, 0};

TextStyle DialogStyle(TextStyle::Weight weight, TextStyle::Align align) {
  TextStyle style;
  style.font = "Arial";
  style.size = 16;
  style.weight = weight;
  style.align = align;
  return style;
}

const TextStyle& LabelStyle() {
  static const TextStyle style = DialogStyle(TextStyle::kNormal, TextStyle::kLeft);
  return style;
}

const TextStyle& ValueStyle() {
  static const TextStyle style = DialogStyle(TextStyle::kBold, TextStyle::kCenter);
  return style;
}

std::string Number(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return text;
}

// A typed value: digits only (the first `length` characters), greater than 0.
bool ParseTyped(const std::string& text, size_t length, int& value) {
  const std::string taken = text.substr(0, length);
  if (taken.empty() || taken.find_first_not_of("0123456789") != std::string::npos) return false;
  value = std::atoi(taken.c_str());
  return value > 0;
}

}  // namespace

IZKTapeLoadDialog::IZKTapeLoadDialog(IPlugBase* plug, PanelPlug& panel, int windowWidth,
                                     int windowHeight)
    : IPanelControl(plug, kRect, {255, 64, 64, 64}), panel_(panel) {
  SetTargetRect({0, 0, windowWidth, windowHeight});
  SetStyle(ValueStyle());
  Hide(true);
}

void IZKTapeLoadDialog::Show(Mode mode) {
  mode_ = mode;
  Hide(false);
}

void IZKTapeLoadDialog::Draw(IGraphics& graphics) {
  Canvas& canvas = graphics.GetCanvas();
  IPanelControl::Draw(graphics);
  canvas.FrameRect(DrawRect(), kWhite);
  const TapeReadSettings settings = SharedTapeReadSettings();
  canvas.DrawText("HIGHPASS", LabelStyle(), kHighpassLabel);
  if (settings.highpassEnabled) {
    DrawValueBox(graphics, kHighpassBox, kHighpassText, settings.highpassFrequency, "Hz",
                 kHighpassUnit);
  }
  canvas.DrawText("LOWPASS", LabelStyle(), kLowpassLabel);
  if (settings.lowpassEnabled) {
    DrawValueBox(graphics, kLowpassBox, kLowpassText, settings.lowpassFrequency, "Hz",
                 kLowpassUnit);
  }
  canvas.DrawText("THRESHOLD", LabelStyle(), kThresholdLabel);
  DrawValueBox(graphics, kThresholdBox, kThresholdText, settings.threshold, "%", kThresholdUnit);
  canvas.FillCircle(517, 236, kCircleRadius, settings.highpassEnabled ? kGreen : kGrey);
  canvas.FillCircle(517, 276, kCircleRadius, settings.lowpassEnabled ? kGreen : kGrey);
  DrawButton(graphics, kOkButton, kOkText, okHover_, "OK");
  DrawButton(graphics, kCancelButton, kCancelText, cancelHover_, "CANCEL");
}

void IZKTapeLoadDialog::DrawValueBox(IGraphics& graphics, const Rect& box, const Rect& textArea,
                                     int value, const char* unit, const Rect& unitArea) {
  graphics.GetCanvas().FillRect(box, kWhite);
  graphics.GetCanvas().DrawText(Number(value), ValueStyle(), textArea);
  graphics.GetCanvas().DrawText(unit, LabelStyle(), unitArea);
}

void IZKTapeLoadDialog::DrawButton(IGraphics& graphics, const Rect& button, const Rect& textArea,
                                   bool hover, const char* text) {
  graphics.GetCanvas().FillRect(button, hover ? kWhite : kGrey);
  graphics.GetCanvas().DrawText(text, ValueStyle(), textArea);
}

void IZKTapeLoadDialog::OnMouseDown(int x, int y, const MouseModifiers&) {
  TapeReadSettings settings = SharedTapeReadSettings();
  if (kOkButton.Contains(x, y)) {
    Load();
  } else if (kCancelButton.Contains(x, y)) {
    Hide(true);
  } else if (kHighpassCircle.Contains(x, y)) {
    settings.highpassEnabled = !settings.highpassEnabled;
    SetSharedTapeReadSettings(settings);
  } else if (kLowpassCircle.Contains(x, y)) {
    settings.lowpassEnabled = !settings.lowpassEnabled;
    SetSharedTapeReadSettings(settings);
  } else if (kHighpassBox.Contains(x, y)) {
    EditValue(kHighpass, settings.highpassFrequency, kHighpassText);
  } else if (kLowpassBox.Contains(x, y)) {
    EditValue(kLowpass, settings.lowpassFrequency, kLowpassText);
  } else if (kThresholdBox.Contains(x, y)) {
    EditValue(kThreshold, settings.threshold, kThresholdText);
  }
  SetDirty(false);
}

void IZKTapeLoadDialog::EditValue(EditTarget target, int value, const Rect& textArea) {
  IGraphics* graphics = Plug() ? Plug()->Editor() : nullptr;
  if (!graphics) return;
  editing_ = target;
  graphics->OpenTextEntry(this, ValueStyle(), textArea, Number(value));
}

void IZKTapeLoadDialog::SetText(const std::string& text) {
  TapeReadSettings settings = SharedTapeReadSettings();
  int value = 0;
  if (editing_ == kThreshold && ParseTyped(text, 2, value)) {
    settings.threshold =
        std::clamp(value, TapeReadSettings::kMinimumThreshold, TapeReadSettings::kMaximumThreshold);
  } else if ((editing_ == kHighpass || editing_ == kLowpass) && ParseTyped(text, 5, value)) {
    value = std::clamp(value, kMinimumFrequency, kMaximumFrequency);
    (editing_ == kHighpass ? settings.highpassFrequency : settings.lowpassFrequency) = value;
  }
  SetSharedTapeReadSettings(settings);
  editing_ = kNone;
  SetDirty(false);
}

void IZKTapeLoadDialog::OnMouseOver(int x, int y, const MouseModifiers&) {
  const bool ok = kOkButton.Contains(x, y);
  const bool cancel = kCancelButton.Contains(x, y);
  if (ok == okHover_ && cancel == cancelHover_) return;
  okHover_ = ok;
  cancelHover_ = cancel;
  SetDirty(false);
}

void IZKTapeLoadDialog::OnMouseOut() {
  okHover_ = cancelHover_ = false;
  SetDirty(false);
}

void IZKTapeLoadDialog::Load() {
  IGraphics* graphics = Plug() ? Plug()->Editor() : nullptr;
  if (!graphics) return;
  std::string path;
  std::string folder = panel_.DocumentsFolder();
  graphics->ChooseFile(path, GraphicsBackEnd::kOpenFile, folder, "wav");
  if (path.empty()) {
    Hide(true);
    return;
  }
  panel_.SetDocumentsFolder(folder);
  bool isPoly800II = false;
  std::string error;
  if (!panel_.LoadTape(mode_, path, isPoly800II, error)) {
    graphics->ShowMessage("Cannot load file!", "Error", GraphicsBackEnd::kOkError);
    return;
  }
  if (mode_ == kSequence) {
    graphics->ShowMessage("Poly-800 I/II Tape sequence was successfully loaded.",
                          "Poly-800 I/II Tape Sequence Loaded", GraphicsBackEnd::kOkInformation);
  } else if (isPoly800II) {
    graphics->ShowMessage(
        "Poly-800 II Tape data was successfully loaded. Note that Delay and Equalizer "
        "settings are ignored.",
        "Poly-800 II Tape Data Loaded", GraphicsBackEnd::kOkInformation);
  } else {
    graphics->ShowMessage("Poly/EX-800 Tape data was successfully loaded.",
                          "Poly/EX-800 Tape Data Loaded", GraphicsBackEnd::kOkInformation);
  }
  Hide(true);
}
