#pragma once

#include "editor/IFaderControl.h"

class PanelPlug;

// One column of the printed parameter chart: a fader that shows itself (track, handle
// and the value's text) while hovered or while all parameters are to be shown. A click
// selects the parameter on the programmer; a drag moves it.
class IZKParamPanelControl : public IFaderControl {
 public:
  static constexpr int kTravel = 92;

  IZKParamPanelControl(IPlugBase* plug, PanelPlug& panel, int x, int y, int parameter,
                       const BitmapStrip& handle, const BitmapStrip& track);
  void Draw(IGraphics& graphics) override;
  void OnMouseDown(int x, int y, const MouseModifiers& modifiers) override;
  void OnMouseOver(int x, int y, const MouseModifiers& modifiers) override;
  void OnMouseOut() override;
  bool IsShown() const;

 private:
  void SetHover(bool hover);

  PanelPlug& panel_;
  BitmapStrip track_;
  bool hover_ = false;
};
