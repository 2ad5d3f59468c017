#include "editor/IZKSeqRecordSwitch.h"

#include "editor/PanelPlug.h"

IZKSeqRecordSwitch::IZKSeqRecordSwitch(IPlugBase* plug, PanelPlug& panel, const BitmapStrip& strip)
    : IBitmapControl(plug, kX, kY, -1, strip), panel_(panel) {}

void IZKSeqRecordSwitch::Draw(IGraphics& graphics) {
  SetValue(panel_.RecordArmed() ? 1.0 : 0.0);
  IBitmapControl::Draw(graphics);
}

void IZKSeqRecordSwitch::OnMouseDown(int, int, const MouseModifiers&) {
  panel_.SetRecordEnabled(!panel_.RecordArmed());
  SetDirty(false);
}
