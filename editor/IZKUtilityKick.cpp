#include "editor/IZKUtilityKick.h"

#include "editor/IGraphics.h"
#include "editor/PanelPlug.h"
#include "host/IPlugBase.h"

IZKUtilityKick::IZKUtilityKick(IPlugBase* plug, PanelPlug& panel, int x, int y, int tag,
                               const BitmapStrip& strip)
    : IContactControl(plug, x, y, tag, strip), panel_(panel) {
  SetTargetRect(DrawRect().Grown(kClickMargin));
}

void IZKUtilityKick::OnMouseDown(int x, int y, const MouseModifiers& modifiers) {
  IContactControl::OnMouseDown(x, y, modifiers);
  const int tag = ParameterIndex();
  if (tag == kStartStopTag && panel_.StartWouldEraseSequence()) {
    SetValue(0.0);
    SetDirty(false);
    if (!ConfirmedErase()) return;
  }
  if (tag >= kFirstTag && tag <= kLastTag) panel_.PanelCommand(-tag);
}

void IZKUtilityKick::OnMouseUp(int, int, const MouseModifiers&) {
  SetValue(0.0);
  SetDirty(false);
}

bool IZKUtilityKick::ConfirmedErase() {
  IGraphics* graphics = Plug() ? Plug()->Editor() : nullptr;
  return graphics &&
         graphics->ShowMessage("Do you want to erase the current sequence?", "Erase Sequence",
                               GraphicsBackEnd::kYesNo) == GraphicsBackEnd::kAnswerYes;
}
