#include "editor/IZKOptionMenu.h"

#include "editor/IGraphics.h"
#include "editor/PanelPlug.h"
#include "host/IPlugBase.h"

IZKOptionMenu::IZKOptionMenu(IPlugBase* plug, PanelPlug& panel, int x, int y, int tag,
                             const BitmapStrip& strip)
    : IControl(plug, {x, y, x + strip.FrameWidth(), y + strip.FrameHeight()}, tag),
      panel_(panel),
      strip_(strip) {}

void IZKOptionMenu::Draw(IGraphics& graphics) {
  graphics.DrawStripFrame(strip_, DrawRect(), hover_ ? 2 : 1, DrawWeight());
}

void IZKOptionMenu::OnMouseDown(int x, int y, const MouseModifiers&) {
  IGraphics* graphics = Plug() ? Plug()->Editor() : nullptr;
  if (graphics && ParameterIndex() == kMenuTag) panel_.OpenMainMenu(*graphics, x, y);
}

void IZKOptionMenu::OnMouseOver(int, int, const MouseModifiers&) {
  SetHover(true);
}

void IZKOptionMenu::OnMouseOut() {
  SetHover(false);
}

void IZKOptionMenu::SetHover(bool hover) {
  if (hover == hover_) return;
  hover_ = hover;
  SetDirty(false);
}
