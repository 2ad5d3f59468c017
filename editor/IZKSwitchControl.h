#pragma once

#include "editor/ISwitchControl.h"

class PanelPlug;

// The WHEEL / BREATH label: shows and switches the source of modulation to the filter,
// a setting saved at once.
class IZKSwitchControl : public ISwitchControl {
 public:
  static constexpr int kBreathTag = -104;

  IZKSwitchControl(IPlugBase* plug, PanelPlug& panel, int x, int y, int tag,
                   const BitmapStrip& strip);
  void Draw(IGraphics& graphics) override;
  void OnMouseDown(int x, int y, const MouseModifiers& modifiers) override;

 private:
  PanelPlug& panel_;
};
