#include "editor/IZKSwitchMidiLearn.h"

#include "editor/IGraphics.h"
#include "editor/PanelPlug.h"

IZKSwitchMidiLearn::IZKSwitchMidiLearn(IPlugBase* plug, PanelPlug& panel, int tag,
                                       const BitmapStrip& button, const BitmapStrip& label)
    : ISwitchControl(plug, kButtonX, kButtonY, tag, button), panel_(panel), label_(label) {
  buttonRect_ = DrawRect();
  const int labelLeft = buttonRect_.left - kSideMargin;
  const int labelTop = buttonRect_.top + kLabelOffset;
  labelRect_ = {labelLeft, labelTop, labelLeft + label.FrameWidth(),
                labelTop + label.FrameHeight()};
  const Rect whole{buttonRect_.left - kSideMargin, buttonRect_.top, buttonRect_.right + kSideMargin,
                   labelRect_.bottom};
  SetDrawRect(whole);
  SetTargetRect(whole);
}

void IZKSwitchMidiLearn::Draw(IGraphics& graphics) {
  SetValue(panel_.MidiLearnArmed() ? 1.0 : 0.0);
  graphics.DrawStripFrame(Strip(), buttonRect_, Value() < 0.5 ? 1 : 2, DrawWeight());
  graphics.DrawStripFrame(label_, labelRect_, learnMode_ ? 1 : 2, DrawWeight());
}

void IZKSwitchMidiLearn::OnMouseDown(int x, int y, const MouseModifiers& modifiers) {
  SetValue(panel_.MidiLearnArmed() ? 1.0 : 0.0);  // a learn may have finished since the draw
  if (modifiers.left) {
    ISwitchControl::OnMouseDown(x, y, modifiers);
    panel_.ArmMidiLearn(Value() > 0.0, !learnMode_);
  } else if (modifiers.right && Value() == 0.0) {
    learnMode_ = !learnMode_;
    SetDirty(false);
  }
}
