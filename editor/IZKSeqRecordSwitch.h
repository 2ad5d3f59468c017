#pragma once

#include "editor/IBitmapControl.h"

class PanelPlug;

// The sequencer's RECORD switch: shows and flips whether the next START/STOP records.
class IZKSeqRecordSwitch : public IBitmapControl {
 public:
  static constexpr int kX = 286;
  static constexpr int kY = 114;

  IZKSeqRecordSwitch(IPlugBase* plug, PanelPlug& panel, const BitmapStrip& strip);
  void Draw(IGraphics& graphics) override;
  void OnMouseDown(int x, int y, const MouseModifiers& modifiers) override;

 private:
  PanelPlug& panel_;
};
