// The editor's window on an X server: opened by the host in its own window, clicked with
// XTest, compared with the headless picture, and opened and closed many times.
#ifdef TARSYN7_TEST_X11
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
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
#include <X11/keysym.h>
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

// The user at the keyboard and mouse, on a connection of their own while the editor waits
// in a dialog's loop on the test's thread.
class User {
 public:
  User() : display_(XOpenDisplay(nullptr)) {}
  ~User() { XCloseDisplay(display_); }

  // The first shown top-level window that `wanted` accepts (waits up to 5 s); 0 if none.
  Window Await(const std::function<bool(Window, const XWindowAttributes&)>& wanted) {
    for (int tries = 0; tries < 100; ++tries) {
      Window root = 0, above = 0, *children = nullptr;
      unsigned count = 0;
      XQueryTree(display_, DefaultRootWindow(display_), &root, &above, &children, &count);
      Window found = 0;
      for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display_, children[i], &attributes) &&
            attributes.map_state == IsViewable && wanted(children[i], attributes)) {
          found = children[i];
          shown_ = attributes;
        }
      }
      XFree(children);
      if (found) return found;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return 0;
  }
  Window AwaitMenu() {
    return Await([](Window, const XWindowAttributes& a) { return a.override_redirect; });
  }
  Window AwaitNamed(const std::string& name) {
    return Await([this, name](Window window, const XWindowAttributes&) {
      char* title = nullptr;
      const bool same = XFetchName(display_, window, &title) && title && name == title;
      if (title) XFree(title);
      return same;
    });
  }
  // A click at (x, y) inside the window Await found last.
  void Click(int x, int y) {
    XTestFakeMotionEvent(display_, -1, shown_.x + x, shown_.y + y, 0);
    XTestFakeButtonEvent(display_, 1, True, 0);
    XTestFakeButtonEvent(display_, 1, False, 0);
    XSync(display_, False);
  }
  void Press(KeySym key) {
    const KeyCode code = XKeysymToKeycode(display_, key);
    XTestFakeKeyEvent(display_, code, True, 0);
    XTestFakeKeyEvent(display_, code, False, 0);
    XSync(display_, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  void Type(const std::string& text) {
    for (char c : text) Press(static_cast<KeySym>(c));  // printable ASCII is its own symbol
  }
  const XWindowAttributes& Shown() const { return shown_; }

 private:
  Display* display_;
  XWindowAttributes shown_{};
};

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
  // The editor's window: the one child of the host's window.
  Window EditorIn(Window parent) {
    Window root = 0, above = 0, *children = nullptr, editor = 0;
    unsigned count = 0;
    XQueryTree(x.Get(), parent, &root, &above, &children, &count);
    if (count == 1) editor = children[0];
    XFree(children);
    return editor;
  }
  // Runs what the user does on a thread of its own while `wait` holds this one.
  template <typename Wait>
  auto WhileUser(const std::function<void(User&)>& act, Wait wait) {
    std::thread user([&act] {
      User person;
      act(person);
    });
    auto answer = wait();
    user.join();
    return answer;
  }
  void OpenEditor() {
    ASSERT_EQ(Dispatch(effEditOpen, AsPointer(MakeParent())), 1);
    Idle(2);
  }

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
  const Window editor = EditorIn(parent);
  ASSERT_NE(editor, 0u);

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

// Menus: a click chooses, the keyboard walks into submenus past separators, a grayed entry
// cannot be chosen and Escape dismisses.
TEST_F(X11Editor, MenusAnswerClicksAndKeys) {
  OpenEditor();
  IGraphics& graphics = *plug.GetEditor();
  PopupMenu menu;
  menu.AddItem("One");
  menu.AddItem("Two", PopupMenuItem::kGrayed);
  menu.AddSeparator();
  PopupMenu& more = menu.AddSubmenu("More");
  more.AddItem("Three", PopupMenuItem::kChecked);
  more.AddItem("Four");
  const Rect button{100, 100, 200, 120};
  const auto show = [&] { return graphics.ShowPopupMenu(menu, button); };

  PopupMenu* chosen = WhileUser(
      [](User& user) {
        user.AwaitMenu();
        user.Click(30, 10);
      },
      show);
  ASSERT_EQ(chosen, &menu);
  EXPECT_EQ(chosen->ChosenIndex(), 0);

  chosen = WhileUser(
      [](User& user) {
        user.AwaitMenu();
        for (KeySym key : {XK_Down, XK_Down, XK_Down, XK_Right, XK_Down, XK_Return}) {
          user.Press(key);
        }
      },
      show);
  ASSERT_EQ(chosen, &more);
  EXPECT_EQ(chosen->ChosenIndex(), 1);

  chosen = WhileUser(
      [](User& user) {
        user.AwaitMenu();
        user.Click(30, 10 + 22);  // "Two"
        user.Press(XK_Escape);
      },
      show);
  EXPECT_EQ(chosen, nullptr);
}

// A message box answered by a click; text typed into an entry reaches the parameter on
// Enter, letters refused; a key the editor does not use goes to the host's window once,
// and the host sending it back starts no loop.
TEST_F(X11Editor, MessageBoxTextEntryAndKeysForTheHost) {
  const Window parent = MakeParent();
  XSelectInput(x.Get(), parent, KeyPressMask);
  ASSERT_EQ(Dispatch(effEditOpen, AsPointer(parent)), 1);
  Idle(2);
  IGraphics& graphics = *plug.GetEditor();
  const auto answer = WhileUser(
      [](User& user) {
        user.AwaitNamed("Question");
        user.Click(user.Shown().width - 60, user.Shown().height - 33);  // "No"
      },
      [&] {
        return graphics.ShowMessage("Replace?\nSecond line", "Question", GraphicsBackEnd::kYesNo);
      });
  EXPECT_EQ(answer, GraphicsBackEnd::kAnswerNo);

  IControl* knob = nullptr;
  for (int i = 0; i < graphics.ControlCount() && !knob; ++i) {
    IControl* control = graphics.GetControl(i);
    const Parameter* parameter = plug.GetParameter(control->ParameterIndex());
    if (parameter && parameter->GetType() == Parameter::kTypeInt && parameter->Value() != 2 &&
        parameter->Clamp(2) == 2) {
      knob = control;
    }
  }
  ASSERT_NE(knob, nullptr);
  graphics.OpenTextEntry(knob, TextStyle{}, {10, 10, 80, 30}, "7");
  User user;
  user.Type("x2");
  Idle(2);
  XImage* box = XGetImage(x.Get(), EditorIn(parent), 12, 12, 1, 1, AllPlanes, ZPixmap);
  EXPECT_EQ(XGetPixel(box, 0, 0) & 0xFFFFFF, 0xFFFFFFu);  // the entry's white box is shown
  XDestroyImage(box);
  user.Press(XK_Return);
  Idle(3);
  EXPECT_EQ(plug.GetParameter(knob->ParameterIndex())->Value(), 2);

  XTestFakeMotionEvent(x.Get(), -1, 5, 5, 0);  // over the background
  user.Press(XK_F5);
  Idle(2);
  const unsigned f5 = XKeysymToKeycode(x.Get(), XK_F5);
  XEvent passed{};
  const auto pressesOfF5 = [&] {
    int count = 0;
    for (XEvent event; XCheckTypedWindowEvent(x.Get(), parent, KeyPress, &event);) {
      if (event.xkey.keycode != f5 || !event.xkey.send_event) continue;
      passed = event;
      ++count;
    }
    return count;
  };
  ASSERT_EQ(pressesOfF5(), 1);
  XSendEvent(x.Get(), passed.xkey.subwindow, False, KeyPressMask, &passed);  // back again
  XSync(x.Get(), False);
  Idle(2);
  EXPECT_EQ(pressesOfF5(), 0);
}

// A host may listen for keys only on a window above the one it gives us (Ardour does): a key
// the editor does not use reaches that window as its own event, at the pointer's place there.
TEST_F(X11Editor, KeysReachTheHostsWindowThatListensAboveItsParent) {
  const Window top = MakeParent();
  XSelectInput(x.Get(), top, KeyPressMask);
  const Window parent = XCreateSimpleWindow(x.Get(), top, 20, 30, 1060, 610, 0, 0, 0);
  XMapWindow(x.Get(), parent);
  XSync(x.Get(), False);
  ASSERT_EQ(Dispatch(effEditOpen, AsPointer(parent)), 1);
  Idle(2);
  XTestFakeMotionEvent(x.Get(), -1, 25, 35, 0);  // over the editor's background
  XSync(x.Get(), False);
  User().Press(XK_F5);
  Idle(2);
  XEvent passed{};
  ASSERT_TRUE(XCheckTypedWindowEvent(x.Get(), top, KeyPress, &passed));
  EXPECT_TRUE(passed.xkey.send_event);
  EXPECT_EQ(passed.xkey.keycode, XKeysymToKeycode(x.Get(), XK_F5));
  EXPECT_EQ(passed.xkey.subwindow, parent);
  EXPECT_EQ(passed.xkey.x, 25);
  EXPECT_EQ(passed.xkey.y, 35);
  EXPECT_EQ(Dispatch(effEditClose), 1);
  XDestroyWindow(x.Get(), top);
}

// Without zenity and kdialog a path typed into the editor window stands in for the dialog:
// the default extension is added, a file it names is asked about before it is replaced,
// and a path that cannot be opened is refused.
TEST_F(X11Editor, FileDialogFallsBackToATypedPath) {
  const char* path = std::getenv("PATH");
  const std::string savedPath = path ? path : "";
  setenv("PATH", "/nonexistent", 1);
  OpenEditor();
  IGraphics& graphics = *plug.GetEditor();
  const std::string folder = "/tmp/t7x11-" + std::to_string(getpid());
  mkdir(folder.c_str(), 0700);
  const auto save = [&] {
    std::string name = "suggested", directory = folder;
    graphics.ChooseFile(name, GraphicsBackEnd::kSaveFile, directory, "fxb fxp");
    return name;
  };
  const auto typePath = [&folder](User& user) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    user.Type(folder + "/bank");
    user.Press(XK_Return);
  };
  EXPECT_EQ(WhileUser(typePath, save), folder + "/bank.fxb");
  fclose(fopen((folder + "/bank.fxb").c_str(), "w"));
  const std::string again = WhileUser(
      [&](User& user) {
        typePath(user);
        user.AwaitNamed("Confirm Save As");
        user.Click(user.Shown().width - 150, user.Shown().height - 33);  // "Yes"
      },
      save);
  EXPECT_EQ(again, folder + "/bank.fxb");
  // A file that is not there is refused with a message; then the entry is offered again.
  const std::string cancelled = WhileUser(
      [&](User& user) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        user.Type(folder + "/missing");
        user.Press(XK_Return);
        user.AwaitNamed("Error");
        user.Click(user.Shown().width - 60, user.Shown().height - 33);  // "OK"
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        user.Press(XK_Escape);
      },
      [&] {
        std::string name, directory = folder;
        graphics.ChooseFile(name, GraphicsBackEnd::kOpenFile, directory, "fxb");
        return name;
      });
  EXPECT_EQ(cancelled, "");
  unlink((folder + "/bank.fxb").c_str());
  rmdir(folder.c_str());
  setenv("PATH", savedPath.c_str(), 1);
}

// A control with a tip lying on top of the others.
class TippedControl : public IControl {
 public:
  TippedControl(IPlugBase* plug, const Rect& area) : IControl(plug, area) {
    SetTargetRect(area);
    SetTooltip("Brightness");
  }
  void Draw(IGraphics&) override {}
};

// A control's tip shows once the pointer rests on it and goes when the pointer moves on;
// the clipboard's text comes from the application holding it.
TEST_F(X11Editor, TooltipsAndClipboardText) {
  IGraphics& graphics = *plug.GetEditor();
  const Rect area{400, 300, 440, 340};
  graphics.AttachControl(new TippedControl(&plug, area));
  OpenEditor();
  const auto tipShown = [this] {
    Window root = 0, above = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(x.Get(), DefaultRootWindow(x.Get()), &root, &above, &children, &count);
    bool shown = false;
    for (unsigned i = 0; i < count; ++i) {
      XWindowAttributes attributes;
      XGetWindowAttributes(x.Get(), children[i], &attributes);
      shown |= attributes.override_redirect && attributes.map_state == IsViewable;
    }
    XFree(children);
    return shown;
  };
  XTestFakeMotionEvent(x.Get(), -1, (area.left + area.right) / 2, (area.top + area.bottom) / 2, 0);
  XSync(x.Get(), False);
  Idle(4);
  EXPECT_FALSE(tipShown());  // not before the pointer rested
  Idle(12);
  EXPECT_TRUE(tipShown());
  XTestFakeMotionEvent(x.Get(), -1, 3, 300, 0);
  XSync(x.Get(), False);
  Idle(2);
  EXPECT_FALSE(tipShown());

  const std::string copied = "Brass \u00c4 1";
  std::thread owner([&copied] {
    Display* display = XOpenDisplay(nullptr);
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False), window, CurrentTime);
    XEvent event;
    do {
      XNextEvent(display, &event);
    } while (event.type != SelectionRequest);
    const XSelectionRequestEvent& request = event.xselectionrequest;
    XChangeProperty(display, request.requestor, request.property, request.target, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(copied.data()),
                    static_cast<int>(copied.size()));
    XEvent answer{};
    answer.xselection = {SelectionNotify,
                         0,
                         True,
                         display,
                         request.requestor,
                         request.selection,
                         request.target,
                         request.property,
                         request.time};
    XSendEvent(display, request.requestor, False, 0, &answer);
    XSync(display, False);
    XCloseDisplay(display);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the owner took the clipboard
  EXPECT_EQ(graphics.ReadClipboardText(), copied);
  owner.join();
}

}  // namespace
#endif
