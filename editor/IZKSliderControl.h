#pragma once

#include "editor/IFaderControl.h"

class PanelPlug;

// A panel fader taken only by its handle. The Tune fader's tooltip names the active
// microtuning.
class IZKSliderControl : public IFaderControl {
 public:
  static constexpr int kTravel = 112;

  IZKSliderControl(IPlugBase* plug, PanelPlug& panel, int x, int y, int parameter,
                   const BitmapStrip& handle, Direction direction);
  void OnMouseOver(int x, int y, const MouseModifiers& modifiers) override;

 private:
  PanelPlug& panel_;
};
