#pragma once

// An editor on the instrument with a headless window, and a plug-in that records what
// the editor tells it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/HeadlessBackEnd.h"
#include "editor/IGraphics.h"
#include "engine/Tarsyn7.h"

class RecordingPlug : public Tarsyn7 {
 public:
  RecordingPlug() : Tarsyn7(nullptr) {}
  void HostBeginGesture(int index) override { calls.push_back("begin " + std::to_string(index)); }
  void HostEndGesture(int index) override { calls.push_back("end " + std::to_string(index)); }
  void IdleTick() override { ++idleTicks; }
  std::vector<std::string> calls;
  int idleTicks = 0;
};

// Counts its draws; takes a key when `takesKeys`.
class ProbeControl : public IControl {
 public:
  ProbeControl(IPlugBase* plug, const Rect& rect, int parameter = -1)
      : IControl(plug, rect, parameter) {}
  void Draw(IGraphics& graphics) override {
    ++draws;
    graphics.GetCanvas().FillRect(DrawRect(), {255, 200, 100, 50});
  }
  void OnMouseDown(int, int, const MouseModifiers&) override { ++presses; }
  void OnMouseDblClick(int, int, const MouseModifiers&) override { ++doubleClicks; }
  void OnMouseWheel(int, int, const MouseModifiers& modifiers, double notches) override {
    StepByWheel(modifiers, notches);
  }
  bool OnKeyDown(int, int, int) override { return takesKeys; }
  void SetText(const std::string& text) override { texts.push_back(text); }
  void SetEntryLength(int length) { SetTextEntryLength(length); }
  void TakeClicksOnlyIn(const Rect& area) { SetTargetRect(area); }
  int draws = 0;
  int presses = 0;
  int doubleClicks = 0;
  bool takesKeys = true;
  std::vector<std::string> texts;
};

class EditorTest : public ::testing::Test {
 protected:
  static constexpr MouseModifiers kLeft{true, false, false, false, false};
  static constexpr MouseModifiers kRight{false, true, false, false, false};

  ProbeControl* AddProbe(const Rect& rect, int parameter = -1) {
    auto* control = new ProbeControl(&plug, rect, parameter);
    graphics.AttachControl(control);
    return control;
  }
  void Open() {
    ASSERT_TRUE(graphics.OpenWindow(&window));
    graphics.OnTimer();  // the first tick paints everything
    window.ForgetPresentedAreas();
  }
  void Click(int x, int y, const MouseModifiers& modifiers = kLeft) {
    graphics.OnMouseDown(x, y, modifiers);
    graphics.OnMouseUp(x, y, modifiers);
  }

  RecordingPlug plug;
  IGraphics graphics{&plug, 200, 100};
  HeadlessBackEnd window{graphics};
};
