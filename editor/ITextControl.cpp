#include "editor/ITextControl.h"

#include "editor/IGraphics.h"

ITextControl::ITextControl(IPlugBase* plug, const Rect& rect, const TextStyle& style,
                           const std::string& text)
    : IControl(plug, rect), text_(text) {
  SetStyle(style);
}

void ITextControl::Draw(IGraphics& graphics) {
  graphics.GetCanvas().DrawText(text_, Style(), DrawRect());
}

void ITextControl::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  SetDirty(false);
}
