#pragma once

#include <string>

#include "editor/IPanelControl.h"

class PanelPlug;

// The cassette-reading dialog over the middle of the panel: the decoder's filters and
// threshold, OK (choose a recording and read it) and CANCEL. While shown it takes every
// click in the window.
class IZKTapeLoadDialog : public IPanelControl {
 public:
  enum Mode { kPrograms = 42, kSequence = 43 };
  enum EditTarget { kNone = 0, kHighpass = 1, kLowpass = 2, kThreshold = 3 };
  static constexpr Rect kRect{399, 200, 655, 400};
  static constexpr int kMinimumFrequency = 10;
  static constexpr int kMaximumFrequency = 20000;

  IZKTapeLoadDialog(IPlugBase* plug, PanelPlug& panel, int windowWidth, int windowHeight);
  void Show(Mode mode);
  Mode GetMode() const { return mode_; }

  void Draw(IGraphics& graphics) override;
  void OnMouseDown(int x, int y, const MouseModifiers& modifiers) override;
  void OnMouseOver(int x, int y, const MouseModifiers& modifiers) override;
  void OnMouseOut() override;
  // A value typed into one of the boxes.
  void SetText(const std::string& text) override;

 private:
  void DrawValueBox(IGraphics& graphics, const Rect& box, const Rect& textArea, int value,
                    const char* unit, const Rect& unitArea);
  void DrawButton(IGraphics& graphics, const Rect& button, const Rect& textArea, bool hover,
                  const char* text);
  void EditValue(EditTarget target, int value, const Rect& textArea);
  void Load();

  PanelPlug& panel_;
  Mode mode_ = kPrograms;
  EditTarget editing_ = kNone;
  bool okHover_ = false;
  bool cancelHover_ = false;
};
