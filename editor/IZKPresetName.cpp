#include "editor/IZKPresetName.h"

#include "editor/IGraphics.h"
#include "editor/PanelPlug.h"
#include "editor/TextEntry.h"
#include "host/IPlugBase.h"

IZKPresetName::IZKPresetName(IPlugBase* plug, PanelPlug& panel)
    : IControl(plug, kRect), panel_(panel) {
  TextStyle style;
  style.font = "Arial";
  style.color = {96, 255, 255, 255};
  style.align = TextStyle::kLeft;
  SetStyle(style);
  SetTextEntryLength(kNameLength);
}

void IZKPresetName::Draw(IGraphics& graphics) {
  graphics.GetCanvas().DrawText(FirstCharacters(panel_.CurrentProgramName(), kNameLength), Style(),
                                DrawRect());
}

void IZKPresetName::OnMouseDown(int, int, const MouseModifiers&) {
  if (IGraphics* graphics = Plug() ? Plug()->Editor() : nullptr) {
    graphics->OpenTextEntry(this, Style(), DrawRect(), panel_.CurrentProgramName());
  }
}

void IZKPresetName::SetText(const std::string& text) {
  panel_.RenameCurrentProgram(FirstCharacters(text, kMaximumTaken));
  SetDirty(false);
}
