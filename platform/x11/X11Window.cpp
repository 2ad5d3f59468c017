#include "platform/x11/X11Window.h"

#include <spawn.h>
#include <stdint.h>
#include <sys/wait.h>

#include "editor/IGraphics.h"

extern char** environ;

namespace {

constexpr long kEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                         LeaveWindowMask | StructureNotifyMask;
constexpr Time kDoubleClickMs = 400;
constexpr auto kTimerPeriod = std::chrono::milliseconds(1000 / IGraphics::kFrameRate);

Display* trappedDisplay = nullptr;
int trappedErrors = 0;
XErrorHandler hostHandler = nullptr;

// Errors of our display are counted; those of the host's connection go to its handler.
int TrapError(Display* display, XErrorEvent* error) {
  if (display == trappedDisplay) {
    ++trappedErrors;
    return 0;
  }
  return hostHandler ? hostHandler(display, error) : 0;
}

// Our error handler for the span of one of our calls, the host's restored after it.
class ErrorTrap {
 public:
  ErrorTrap(const Xlib& x, Display* display) : x_(x), outerDisplay_(trappedDisplay) {
    trappedDisplay = display;
    outerHandler_ = x.SetErrorHandler(TrapError);
    if (outerHandler_ != TrapError) hostHandler = outerHandler_;
    errorsBefore_ = trappedErrors;
  }
  ~ErrorTrap() {
    x_.SetErrorHandler(outerHandler_);
    trappedDisplay = outerDisplay_;
  }
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Whether any request so far failed (waits for the server's answers).
  bool Failed() const {
    x_.Sync(trappedDisplay, False);
    return trappedErrors != errorsBefore_;
  }

 private:
  const Xlib& x_;
  Display* outerDisplay_;
  XErrorHandler outerHandler_ = nullptr;
  int errorsBefore_ = 0;
};

MouseModifiers ModifiersOf(unsigned state, unsigned button) {
  MouseModifiers modifiers;
  modifiers.left = button == Button1 || (state & Button1Mask);
  modifiers.right = button == Button3 || (state & Button3Mask);
  modifiers.shift = state & ShiftMask;
  modifiers.control = state & ControlMask;
  modifiers.alt = state & Mod1Mask;
  return modifiers;
}

}  // namespace

std::unique_ptr<EditorWindow> OpenEditorWindow(IGraphics& graphics, void* parent) {
  return X11Window::Open(graphics, static_cast<Window>(reinterpret_cast<uintptr_t>(parent)));
}

X11Window::X11Window(const Xlib& x, IGraphics& graphics, Display* display)
    : x_(x), graphics_(graphics), display_(display), lastTick_(std::chrono::steady_clock::now()) {}

std::unique_ptr<X11Window> X11Window::Open(IGraphics& graphics, Window parent) {
  const Xlib* x = Xlib::Get();
  if (!x || parent == 0) return nullptr;
  Display* display = x->OpenDisplay(nullptr);
  if (!display) return nullptr;
  std::unique_ptr<X11Window> window(new X11Window(*x, graphics, display));
  ErrorTrap trap(*x, display);
  window->depth_ = DefaultDepth(display, DefaultScreen(display));
  if (window->depth_ != 24 && window->depth_ != 32) return nullptr;
  window->window_ =
      x->CreateSimpleWindow(display, parent, 0, 0, static_cast<unsigned>(graphics.Width()),
                            static_cast<unsigned>(graphics.Height()), 0, 0, 0);
  if (trap.Failed()) {
    window->window_ = 0;  // the parent is not a window
    return nullptr;
  }
  x->SelectInput(display, window->window_, kEvents);
  window->gc_ = x->CreateGC(display, window->window_, 0, nullptr);
  x->MapWindow(display, window->window_);
  if (trap.Failed()) return nullptr;
  return window;
}

X11Window::~X11Window() {
  ErrorTrap trap(x_, display_);
  // The host may have destroyed its window, and ours with it: the errors are ours to drop.
  if (gc_) x_.FreeGC(display_, gc_);
  if (window_) x_.DestroyWindow(display_, window_);
  x_.CloseDisplay(display_);
}

void X11Window::Idle() {
  ErrorTrap trap(x_, display_);
  while (x_.Pending(display_) > 0) {
    XEvent event;
    x_.NextEvent(display_, &event);
    HandleEvent(event);
  }
  const auto now = std::chrono::steady_clock::now();
  if (now - lastTick_ >= kTimerPeriod) {
    lastTick_ = now;
    graphics_.OnTimer();
  }
  x_.Flush(display_);
}

void X11Window::HandleEvent(const XEvent& event) {
  switch (event.type) {
    case Expose:
      graphics_.Paint({event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                       event.xexpose.y + event.xexpose.height});
      break;
    case ButtonPress:
    case ButtonRelease:
      HandleButton(event.xbutton);
      break;
    case MotionNotify: {
      const MouseModifiers modifiers = ModifiersOf(event.xmotion.state, 0);
      if (modifiers.left || modifiers.right) {
        graphics_.OnMouseDrag(event.xmotion.x, event.xmotion.y, modifiers);
      } else {
        graphics_.OnMouseMove(event.xmotion.x, event.xmotion.y, modifiers);
      }
      break;
    }
    case LeaveNotify:
      graphics_.OnMouseLeave();
      break;
    case DestroyNotify:
      if (event.xdestroywindow.window == window_) window_ = 0;
      break;
    default:
      break;
  }
}

void X11Window::HandleButton(const XButtonEvent& event) {
  if (event.button == Button4 || event.button == Button5) {
    if (event.type == ButtonPress) {
      graphics_.OnMouseWheel(event.x, event.y, ModifiersOf(event.state, 0),
                             event.button == Button4 ? 1.0 : -1.0);
    }
    return;
  }
  if (event.button != Button1 && event.button != Button3) return;
  const MouseModifiers modifiers = ModifiersOf(event.state, event.button);
  if (event.type == ButtonRelease) {
    graphics_.OnMouseUp(event.x, event.y, modifiers);
    return;
  }
  const bool doubleClick =
      event.button == lastClickButton_ && event.time - lastClickTime_ < kDoubleClickMs;
  lastClickButton_ = doubleClick ? 0 : event.button;
  lastClickTime_ = event.time;
  if (doubleClick) {
    graphics_.OnMouseDblClick(event.x, event.y, modifiers);
  } else {
    graphics_.OnMouseDown(event.x, event.y, modifiers);
  }
}

void X11Window::Present(const Bitmap& buffer, const Rect& area) {
  if (!window_) return;
  // Pixels are 0xAARRGGBB words, the layout of a 24- and 32-bit TrueColor image.
  XImage* image = x_.CreateImage(display_, DefaultVisual(display_, DefaultScreen(display_)),
                                 static_cast<unsigned>(depth_), ZPixmap, 0,
                                 reinterpret_cast<char*>(const_cast<Pixel*>(buffer.Row(0))),
                                 static_cast<unsigned>(buffer.Width()),
                                 static_cast<unsigned>(buffer.Height()), 32, buffer.Width() * 4);
  if (!image) return;
  x_.PutImage(display_, window_, gc_, image, area.left, area.top, area.left, area.top,
              static_cast<unsigned>(area.Width()), static_cast<unsigned>(area.Height()));
  image->data = nullptr;  // the buffer stays the editor's
  XDestroyImage(image);
}

// Menus, message boxes and file dialogs of their own are still to come on X11: a menu is
// dismissed, a question answered "no", a file dialog cancelled, so nothing changes.
int X11Window::TrackPopupMenu(const PopupMenu&, int, int) {
  return -1;
}

GraphicsBackEnd::MessageAnswer X11Window::ShowMessage(const std::string&, const std::string&,
                                                      MessageStyle style) {
  return style == kYesNo ? kAnswerNo : kAnswerOk;
}

std::string X11Window::ChooseFile(const FileRequest&) {
  return {};
}

bool X11Window::OpenWebPage(const std::string& address) {
  // An argument list, never a shell.
  std::string program = "xdg-open";
  std::string argument = address;
  char* arguments[] = {&program[0], &argument[0], nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, arguments, environ) != 0) return false;
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
