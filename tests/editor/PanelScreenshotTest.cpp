#include "EditorFixture.h"
#include "control/ParameterIndex.h"
#include "editor/IBitmapControl.h"
#include "editor/IFaderControl.h"
#include "editor/IKnobMultiControl.h"
#include "editor/ISwitchControl.h"

namespace {

// The panel's images, from the plug-in's resources, under general controls at their
// places: what the window shows is the background with each control's frame over it.
TEST(PanelScreenshot, ControlsShowTheirFramesOverTheBackground) {
  RecordingPlug plug;
  IGraphics graphics(&plug, 1054, 600);
  HeadlessBackEnd window(graphics);
  BitmapStrip back = graphics.LoadStrip(101, "resources/img/back.png", 1);
  BitmapStrip knob = graphics.LoadStrip(121, "resources/img/volume.png", 65);
  BitmapStrip handle = graphics.LoadStrip(114, "resources/img/handle_v.png", 1);
  BitmapStrip toggle = graphics.LoadStrip(120, "resources/img/switch.png", 2);
  ASSERT_TRUE(back.image && knob.image && handle.image && toggle.image);
  graphics.AttachControl(new IBitmapControl(&plug, 0, 0, -1, back));
  graphics.AttachControl(new IKnobMultiControl(&plug, 41, 144, kVolume, knob));
  graphics.AttachControl(
      new IFaderControl(&plug, 170, 130, 112, kBend, handle, IFaderControl::kVertical, true));
  graphics.AttachControl(new ISwitchControl(&plug, 946, 54, kGodMode, toggle));
  graphics.UpdateControlsForParameter(kVolume, 0.5, true);
  graphics.UpdateControlsForParameter(kGodMode, 1.0, true);
  ASSERT_TRUE(graphics.OpenWindow(&window));
  graphics.OnTimer();
  ASSERT_TRUE(window.WriteScreenshot(::testing::TempDir() + "panel.png"));

  const Bitmap& screen = window.Screen();
  auto shows = [&](const BitmapStrip& strip, int frame, int x, int y) {
    Bitmap expected(strip.FrameWidth(), strip.FrameHeight());
    Canvas canvas(expected);
    canvas.Blit(*back.image, {x, y, x + strip.FrameWidth(), y + strip.FrameHeight()}, 0, 0);
    canvas.Blit(*strip.image, strip.FrameRect(frame), 0, 0);
    for (int row = 0; row < expected.Height(); ++row) {
      for (int column = 0; column < expected.Width(); ++column) {
        if (expected.At(column, row) != screen.At(x + column, y + row)) return false;
      }
    }
    return true;
  };
  EXPECT_TRUE(shows(knob, 33, 41, 144));
  EXPECT_TRUE(shows(handle, 1, 170, 212));  // value 0: the handle at the bottom
  EXPECT_TRUE(shows(toggle, 2, 946, 54));
  EXPECT_FALSE(shows(toggle, 1, 946, 54));
}

}  // namespace
