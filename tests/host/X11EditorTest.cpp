// The editor's window on an X server: opened by the host in its own window, clicked with
// XTest, compared with the headless picture, and opened and closed many times.
#ifdef TARSYN7_TEST_X11
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "editor/HeadlessBackEnd.h"
#include "engine/Tarsyn7.h"
#include "tests/host/TestHost.h"

// Last: Xlib's macros would clash with the names above.
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
// clang-format on

extern char** environ;

namespace {

// The X server of DISPLAY, else an Xvfb of the test's own, stopped at the end.
class XServer {
 public:
  XServer() {
    display_ = XOpenDisplay(nullptr);
    if (display_) return;
    const std::string name = ":" + std::to_string(100 + getpid() % 400);
    std::string program = "Xvfb", screen = "1280x1024x24";
    std::string arguments[] = {program, name, "-screen", "0", screen, "-nolisten", "tcp"};
    char* argv[8] = {};
    for (int i = 0; i < 7; ++i) argv[i] = &arguments[i][0];
    if (posix_spawnp(&server_, "Xvfb", nullptr, nullptr, argv, environ) != 0) server_ = 0;
    for (int tries = 0; server_ && !display_ && tries < 50; ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      display_ = XOpenDisplay(name.c_str());
    }
    if (display_) setenv("DISPLAY", name.c_str(), 1);
  }
  ~XServer() {
    if (display_) XCloseDisplay(display_);
    if (server_) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
  }
  Display* Get() const { return display_; }

 private:
  Display* display_ = nullptr;
  pid_t server_ = 0;
};

int OpenFileCount() {
  int count = 0;
  if (DIR* folder = opendir("/proc/self/fd")) {
    while (readdir(folder)) ++count;
    closedir(folder);
  }
  return count;
}

class X11Editor : public ::testing::Test {
 protected:
  static constexpr int kSettledTicks = 40;  // the information line has faded in

  void SetUp() override {
    if (!x.Get()) GTEST_SKIP() << "no X server could be started (Xvfb missing?)";
  }
  Window MakeParent() {
    const Window parent =
        XCreateSimpleWindow(x.Get(), DefaultRootWindow(x.Get()), 0, 0, 1100, 700, 0, 0, 0);
    XMapWindow(x.Get(), parent);
    XSync(x.Get(), False);
    return parent;
  }
  VstIntPtr Dispatch(int32_t opcode, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
  }
  void Idle(int times) {
    for (int i = 0; i < times; ++i) {
      Dispatch(effEditIdle);
      std::this_thread::sleep_for(std::chrono::milliseconds(45));
    }
  }
  static void* AsPointer(Window window) { return reinterpret_cast<void*>(window); }

  XServer x;
  TestHost host;
  ActiveHost activate{&host};
  Tarsyn7 plug{&TestHost::Callback};
  AEffect* effect = plug.Effect();
};

TEST_F(X11Editor, ShowsTheHeadlessPictureAndSendsClickedValuesToTheHost) {
  const Window parent = MakeParent();
  ASSERT_EQ(Dispatch(effEditOpen, AsPointer(parent)), 1);
  Idle(kSettledTicks);
  Window root = 0, above = 0, *children = nullptr;
  unsigned count = 0;
  XQueryTree(x.Get(), parent, &root, &above, &children, &count);
  ASSERT_EQ(count, 1u);
  const Window editor = children[0];
  XFree(children);

  Tarsyn7 reference(&TestHost::Callback);
  IGraphics& graphics = *reference.GetEditor();
  HeadlessBackEnd headless(graphics);
  graphics.OpenWindow(&headless);
  graphics.Paint({0, 0, graphics.Width(), graphics.Height()});
  // As the host's idle calls did: the first comes before the window's timer is due.
  for (int i = 0; i < kSettledTicks; ++i) {
    reference.IdleTick();
    if (i > 0) graphics.OnTimer();
  }
  XImage* capture = XGetImage(x.Get(), editor, 0, 0, static_cast<unsigned>(graphics.Width()),
                              static_cast<unsigned>(graphics.Height()), AllPlanes, ZPixmap);
  ASSERT_NE(capture, nullptr);
  int differing = 0;
  for (int y = 0; y < graphics.Height(); ++y) {
    for (int column = 0; column < graphics.Width(); ++column) {
      differing += (XGetPixel(capture, column, y) & 0xFFFFFF) !=
                   (headless.Screen().At(column, y) & 0xFFFFFF);
    }
  }
  XDestroyImage(capture);
  EXPECT_EQ(differing, 0);

  const IControl* target = nullptr;
  for (int i = 0; i < graphics.ControlCount() && !target; ++i) {
    const IControl* control = graphics.GetControl(i);
    if (control->ParameterIndex() >= 0 && !control->TargetRect().Empty()) target = control;
  }
  ASSERT_NE(target, nullptr);
  const Rect& area = target->TargetRect();
  const int centreX = (area.left + area.right) / 2, centreY = (area.top + area.bottom) / 2;
  // A press, a drag upwards and a release, as on a knob or fader.
  XTestFakeMotionEvent(x.Get(), -1, centreX, centreY, 0);
  XTestFakeButtonEvent(x.Get(), 1, True, 0);
  XSync(x.Get(), False);
  Idle(1);
  XTestFakeMotionEvent(x.Get(), -1, centreX, centreY - 30, 0);
  XTestFakeButtonEvent(x.Get(), 1, False, 0);
  XSync(x.Get(), False);
  Idle(2);
  bool reached = false;
  for (const auto& [index, value] : host.automated) reached |= index == target->ParameterIndex();
  EXPECT_TRUE(reached) << "parameter " << target->ParameterIndex();
  EXPECT_EQ(Dispatch(effEditClose), 1);
  XDestroyWindow(x.Get(), parent);
}

// Every other time the host destroys its window before closing the editor: the X errors
// that follow are the editor's own to swallow.
TEST_F(X11Editor, OpensAndClosesAHundredTimesWithoutLeaks) {
  const int filesBefore = OpenFileCount();
  for (int i = 0; i < 100; ++i) {
    const Window parent = MakeParent();
    ASSERT_EQ(Dispatch(effEditOpen, AsPointer(parent)), 1) << i;
    Dispatch(effEditIdle);
    if (i % 2) {
      XDestroyWindow(x.Get(), parent);
      XSync(x.Get(), False);
      Dispatch(effEditIdle);
    }
    Dispatch(effEditClose);
    if (!(i % 2)) XDestroyWindow(x.Get(), parent);
  }
  EXPECT_EQ(OpenFileCount(), filesBefore);
  // Opening twice without a close is refused; the plug-in closes what is open.
  const Window parent = MakeParent();
  EXPECT_EQ(Dispatch(effEditOpen, AsPointer(parent)), 1);
  EXPECT_EQ(Dispatch(effEditOpen, AsPointer(parent)), 0);
}

}  // namespace
#endif
