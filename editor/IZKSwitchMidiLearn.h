#pragma once

#include "editor/ISwitchControl.h"

class PanelPlug;

// The red MIDI-learn button with its LEARN / UNLEARN label below. A left click arms (or
// disarms) learning or forgetting a binding, after the label; a right click while
// disarmed switches the label. The button follows the instrument: when a learn completes
// on the audio thread, the editor's next idle redraw shows it released.
class IZKSwitchMidiLearn : public ISwitchControl {
 public:
  static constexpr int kButtonX = 802;
  static constexpr int kButtonY = 144;
  static constexpr int kSideMargin = 18;
  static constexpr int kLabelOffset = 100;  // from the button's top

  IZKSwitchMidiLearn(IPlugBase* plug, PanelPlug& panel, int tag, const BitmapStrip& button,
                     const BitmapStrip& label);
  void Draw(IGraphics& graphics) override;
  void OnMouseDown(int x, int y, const MouseModifiers& modifiers) override;
  bool LearnMode() const { return learnMode_; }

 private:
  PanelPlug& panel_;
  BitmapStrip label_;
  Rect buttonRect_;
  Rect labelRect_;
  bool learnMode_ = true;
};
