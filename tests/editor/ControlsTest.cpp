#include <cmath>

#include "EditorFixture.h"
#include "control/ParameterIndex.h"
#include "editor/IFaderControl.h"
#include "editor/IKnobMultiControl.h"
#include "editor/ISwitchControl.h"

namespace {

BitmapStrip StripOf(const Bitmap& image, int frames) {
  return {&image, image.Width(), image.Height(), frames, false};
}

TEST_F(EditorTest, WheelStepsAreOneHundredthOrOneThousandthWithControl) {
  Bitmap handle(16, 30, 0xFFFFFFFFu);
  auto* fader =
      new IFaderControl(&plug, 10, 0, 100, kVolume, StripOf(handle, 1), IFaderControl::kVertical);
  graphics.AttachControl(fader);
  Open();
  graphics.OnMouseWheel(15, 50, {}, 2.0);
  EXPECT_NEAR(fader->Value(), 0.02, 1e-12);
  graphics.OnMouseWheel(15, 50, {false, false, false, true, false}, -1.0);
  EXPECT_NEAR(fader->Value(), 0.019, 1e-12);
  EXPECT_NEAR(plug.GetParameter(kVolume)->Normalized(), 0.019, 1e-6);
  graphics.OnMouseWheel(15, 50, {}, -5.0);
  EXPECT_EQ(fader->Value(), 0.0);  // clamped
}

TEST_F(EditorTest, KnobDragOfEightyPixelsUpTurnsAQuarterAndTenTimesLessWithShift) {
  Bitmap frames(80, 65 * 80);
  auto* knob = new IKnobMultiControl(&plug, 0, 0, kVolume, StripOf(frames, 65));
  graphics.AttachControl(knob);
  Open();
  graphics.OnMouseDown(40, 40, kLeft);
  graphics.OnMouseDrag(40, 0, kLeft);
  graphics.OnMouseDrag(40, -40, kLeft);
  EXPECT_NEAR(knob->Value(), 0.25, 1e-12);
  graphics.OnMouseDrag(40, -120, {true, false, true, false, false});
  EXPECT_NEAR(knob->Value(), 0.275, 1e-12);
  graphics.OnMouseUp(40, -120, kLeft);
  EXPECT_EQ(plug.calls, (std::vector<std::string>{"begin 0", "end 0"}));
}

TEST_F(EditorTest, FaderHandleFollowsThePointerAndOnlyTheHandleIsHit) {
  Bitmap handle(16, 30, 0xFFFFFFFFu);
  auto* fader = new IFaderControl(&plug, 170, 0, 112, kSeqFrequency, StripOf(handle, 1),
                                  IFaderControl::kVertical, true);
  graphics.AttachControl(fader);
  Open();
  EXPECT_FALSE(fader->IsHit(175, 10));   // the track above the handle
  graphics.OnMouseDown(175, 97, kLeft);  // the handle's centre at the bottom: 0
  EXPECT_EQ(fader->Value(), 0.0);
  graphics.OnMouseDrag(175, 15, kLeft);  // at the top: 1
  EXPECT_EQ(fader->Value(), 1.0);
  graphics.OnMouseDrag(175, 300, kLeft);
  EXPECT_EQ(fader->Value(), 0.0);
  graphics.OnMouseUp(175, 300, kLeft);
  EXPECT_EQ(fader->HandleRect(), (Rect{170, 82, 186, 112}));
  EXPECT_TRUE(fader->IsHit(175, 90));
}

TEST_F(EditorTest, SwitchesStepAndWrapAndADoubleClickIsAnotherPress) {
  Bitmap frames(10, 30);
  auto* toggle = new ISwitchControl(&plug, 0, 0, kVolume, StripOf(frames, 3));
  graphics.AttachControl(toggle);
  Open();
  Click(5, 5);
  EXPECT_EQ(toggle->Value(), 0.5);
  graphics.OnMouseDblClick(5, 5, kLeft);
  graphics.OnMouseUp(5, 5, kLeft);
  EXPECT_EQ(toggle->Value(), 1.0);
  Click(5, 5);
  EXPECT_EQ(toggle->Value(), 0.0);
}

TEST(BitmapStripFrames, EveryValueAndCodeDrawsAValidFrame) {
  EXPECT_EQ(FrameForValue(0.0, 2), 1);
  EXPECT_EQ(FrameForValue(1.0, 2), 2);
  EXPECT_EQ(FrameForValue(0.49, 2), 1);
  EXPECT_EQ(FrameForValue(std::nan(""), 65), 1);
  EXPECT_EQ(FrameForValue(7.0, 65), 65);
  EXPECT_EQ(FrameForValue(-HUGE_VAL, 65), 1);
  EXPECT_EQ(KnobFrameForValue(0.5, 65), 33);
  EXPECT_EQ(KnobFrameForValue(std::nan(""), 65), 1);
  EXPECT_EQ(DigitFrame(0), 1);
  EXPECT_EQ(DigitFrame(13), 14);  // "H"
  EXPECT_EQ(DigitFrame(-1), 15);
  EXPECT_EQ(DigitFrame(14), 15);
  EXPECT_EQ(DigitFrame(1 << 30), 15);
  BitmapStrip digits{nullptr, 26, 510, 15, false};
  EXPECT_EQ(digits.FrameRect(15), (Rect{0, 476, 26, 510}));
  EXPECT_EQ(digits.FrameRect(99), digits.FrameRect(15));
  EXPECT_EQ(digits.FrameRect(-3), digits.FrameRect(1));
}

}  // namespace
