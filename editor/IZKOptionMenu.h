#pragma once

#include "editor/BitmapStrip.h"
#include "editor/IControl.h"

class PanelPlug;

// The MENU button: lit while the pointer is over it; a click opens the main menu.
class IZKOptionMenu : public IControl {
 public:
  static constexpr int kMenuTag = -81;

  IZKOptionMenu(IPlugBase* plug, PanelPlug& panel, int x, int y, int tag, const BitmapStrip& strip);
  void Draw(IGraphics& graphics) override;
  void OnMouseDown(int x, int y, const MouseModifiers& modifiers) override;
  void OnMouseOver(int x, int y, const MouseModifiers& modifiers) override;
  void OnMouseOut() override;

 private:
  void SetHover(bool hover);

  PanelPlug& panel_;
  BitmapStrip strip_;
  bool hover_ = false;
};
