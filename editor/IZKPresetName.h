#pragma once

#include <string>

#include "editor/IControl.h"

class PanelPlug;

// The current program's name; a click opens a text entry that renames the program.
class IZKPresetName : public IControl {
 public:
  static constexpr Rect kRect{500, 5, 644, 17};
  static constexpr int kNameLength = 30;
  static constexpr size_t kMaximumTaken = 256;

  IZKPresetName(IPlugBase* plug, PanelPlug& panel);
  void Draw(IGraphics& graphics) override;
  void OnMouseDown(int x, int y, const MouseModifiers& modifiers) override;
  // The entry's result.
  void SetText(const std::string& text) override;

 private:
  PanelPlug& panel_;
};
