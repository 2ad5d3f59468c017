#pragma once

#include <string>

#include "editor/IControl.h"

// A line of text in its rectangle.
class ITextControl : public IControl {
 public:
  ITextControl(IPlugBase* plug, const Rect& rect, const TextStyle& style, const std::string& text);
  void Draw(IGraphics& graphics) override;
  void SetText(const std::string& text) override;
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};
