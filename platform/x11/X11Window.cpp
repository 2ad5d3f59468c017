#include "platform/x11/X11Window.h"

#include <X11/keysym.h>
#include <poll.h>
#include <spawn.h>
#include <stdint.h>
#include <sys/wait.h>

#include <algorithm>

#include "drawing/Font.h"
#include "editor/IGraphics.h"
#include "editor/KeyCodes.h"
#include "platform/x11/X11Dialogs.h"

extern char** environ;

namespace {

constexpr long kEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                         LeaveWindowMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                         FocusChangeMask;
constexpr Time kDoubleClickMs = 400;
constexpr auto kTimerPeriod = std::chrono::milliseconds(1000 / IGraphics::kFrameRate);
constexpr auto kHoverDelay = std::chrono::milliseconds(500);
constexpr int kTooltipTextSize = 13;
constexpr auto kClipboardWait = std::chrono::seconds(1);
constexpr long kLongestClipboardText = 1 << 16;  // in 32-bit units

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

// A tip's box for `text`, at the origin.
Rect TooltipBox(const std::string& text) {
  const int width = static_cast<int>(MeasureText(text, kTooltipTextSize, TextStyle::kNormal));
  return {0, 0, width + 10, kTooltipTextSize + 6};
}

// The code a control receives for a key symbol (KeyCodes.h), or kNoKey.
int EditorKeyOf(KeySym key) {
  switch (key) {
    case XK_Up:
      return EditorKeyCode(NamedKey::kUp);
    case XK_Down:
      return EditorKeyCode(NamedKey::kDown);
    case XK_Left:
      return EditorKeyCode(NamedKey::kLeft);
    case XK_Right:
      return EditorKeyCode(NamedKey::kRight);
    default:
      return key < 0x80 ? EditorKeyCode(static_cast<char>(key)) : kNoKey;
  }
}

}  // namespace

std::unique_ptr<EditorWindow> OpenEditorWindow(IGraphics& graphics, void* parent) {
  return X11Window::Open(graphics, static_cast<Window>(reinterpret_cast<uintptr_t>(parent)));
}

X11Window::X11Window(const Xlib& x, IGraphics& graphics, Display* display, Window parent)
    : x_(x),
      graphics_(graphics),
      display_(display),
      parent_(parent),
      lastTick_(std::chrono::steady_clock::now()) {}

std::unique_ptr<X11Window> X11Window::Open(IGraphics& graphics, Window parent) {
  const Xlib* x = Xlib::Get();
  if (!x || parent == 0) return nullptr;
  Display* display = x->OpenDisplay(nullptr);
  if (!display) return nullptr;
  std::unique_ptr<X11Window> window(new X11Window(*x, graphics, display, parent));
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
  if (tooltip_) x_.DestroyWindow(display_, tooltip_);
  // The host may have destroyed its window, and ours with it: the errors are ours to drop.
  if (gc_) x_.FreeGC(display_, gc_);
  if (window_) x_.DestroyWindow(display_, window_);
  x_.CloseDisplay(display_);
}

void X11Window::Idle() {
  ErrorTrap trap(x_, display_);
  if (!uncovered_.Empty()) graphics_.Paint(uncovered_);
  uncovered_ = {};
  while (x_.Pending(display_) > 0) {
    XEvent event;
    x_.NextEvent(display_, &event);
    HandleEvent(event);
  }
  const auto now = std::chrono::steady_clock::now();
  if (!hoverReported_ && now - lastMotion_ >= kHoverDelay) {
    hoverReported_ = true;
    graphics_.OnMouseHover();
  }
  if (now - lastTick_ >= kTimerPeriod) {
    lastTick_ = now;
    graphics_.OnTimer();
  }
  x_.Flush(display_);
}

void X11Window::HandleEvent(XEvent& event) {
  if (tooltip_ && event.xany.window == tooltip_) {
    if (event.type == Expose) DrawTooltip();
    return;
  }
  if (event.xany.window != window_) return;  // what is left of a closed dialog's windows
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
        lastMotion_ = std::chrono::steady_clock::now();
        hoverReported_ = false;
        pointerX_ = event.xmotion.x_root;
        pointerY_ = event.xmotion.y_root;
        graphics_.OnMouseMove(event.xmotion.x, event.xmotion.y, modifiers);
      }
      break;
    }
    case LeaveNotify:
      hoverReported_ = true;
      graphics_.OnMouseLeave();
      break;
    case KeyPress:
    case KeyRelease:
      HandleKey(event.xkey);
      break;
    case FocusIn:
    case FocusOut:
      HandleFocus(event.xfocus);
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
  if (line_.edit && line_.area.Intersects(area)) DrawLine();
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

KeySym X11Window::KeyOf(XKeyEvent& event) const {
  KeySym key = NoSymbol;
  char typed[16];
  x_.LookupString(&event, typed, sizeof typed, &key, nullptr);
  return key;
}

void X11Window::HandleKey(XKeyEvent& event) {
  const KeySym key = KeyOf(event);
  if (entry_) {  // the entry's keys, pressed or released, stay ours
    if (event.type == KeyPress) TypeIntoEntry(key);
    return;
  }
  if (event.type == KeyPress) {
    const int code = EditorKeyOf(key);
    if (code != kNoKey && graphics_.OnKeyDown(event.x, event.y, code)) return;
  }
  // A key the host sent us itself never goes back: no loop between the two windows.
  if (!event.send_event) PassKeyToHost(event);
}

void X11Window::TypeIntoEntry(KeySym key) {
  switch (entry_->Key(key, CharacterOfKey(key))) {
    case LineEdit::kEnter:
      graphics_.RequestTextEntryCommit();
      break;
    case LineEdit::kEscape:
      graphics_.RequestTextEntryCancel();
      break;
    case LineEdit::kChanged:
      DrawLine();
      break;
    case LineEdit::kNothing:
      break;
  }
}

void X11Window::HandleFocus(const XFocusChangeEvent& event) {
  // Focus taken by a grab (our own menus) is no loss, nor is a change that was on its way
  // before the entry took the focus.
  if (!entry_ || event.mode != NotifyNormal || event.detail == NotifyInferior ||
      event.detail == NotifyPointer) {
    return;
  }
  if (event.type == FocusIn) {
    entryFocused_ = true;
  } else if (entryFocused_) {
    graphics_.RequestTextEntryCommit();
  }
}

// The key goes where the server would have passed it had we not listened: to the nearest
// of the host's windows, from the one it gave us upward, that a client listens to keys on
// (a host such as Ardour listens only on a window above the one it gives us). It arrives as
// that window's own event: toolkits drop keys that name a window they do not know.
void X11Window::PassKeyToHost(const XKeyEvent& event) {
  const long mask = event.type == KeyPress ? KeyPressMask : KeyReleaseMask;
  const Window receiver = KeyListenerAbove(mask);
  if (!receiver) return;
  XEvent copy;
  copy.xkey = event;
  copy.xkey.window = receiver;
  Window child = 0;
  x_.TranslateCoordinates(display_, window_, receiver, event.x, event.y, &copy.xkey.x, &copy.xkey.y,
                          &child);
  copy.xkey.subwindow = child;
  x_.SendEvent(display_, receiver, False, mask, &copy);
}

Window X11Window::KeyListenerAbove(long mask) {
  for (Window current = parent_; current; current = ParentOf(current)) {
    XWindowAttributes attributes;
    if (!x_.GetWindowAttributes(display_, current, &attributes)) return 0;
    if (attributes.all_event_masks & mask) return current;
    if (attributes.do_not_propagate_mask & mask) return 0;
  }
  return 0;
}

Window X11Window::CreateTopWindow(const Rect& area, bool overrideRedirect) {
  const Window top =
      x_.CreateSimpleWindow(display_, DefaultRootWindow(display_), area.left, area.top,
                            static_cast<unsigned>(std::max(area.Width(), 1)),
                            static_cast<unsigned>(std::max(area.Height(), 1)), 0, 0, 0);
  if (!top) return 0;
  XSetWindowAttributes attributes{};
  attributes.override_redirect = overrideRedirect ? True : False;
  x_.ChangeWindowAttributes(display_, top, CWOverrideRedirect, &attributes);
  x_.SelectInput(display_, top,
                 ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                     KeyPressMask | StructureNotifyMask);
  return top;
}

void X11Window::PutBitmap(Window target, const Bitmap& image, int x, int y) {
  XImage* picture = x_.CreateImage(display_, DefaultVisual(display_, DefaultScreen(display_)),
                                   static_cast<unsigned>(depth_), ZPixmap, 0,
                                   reinterpret_cast<char*>(const_cast<Pixel*>(image.Row(0))),
                                   static_cast<unsigned>(image.Width()),
                                   static_cast<unsigned>(image.Height()), 32, image.Width() * 4);
  if (!picture) return;
  x_.PutImage(display_, target, gc_, picture, 0, 0, x, y, static_cast<unsigned>(image.Width()),
              static_cast<unsigned>(image.Height()));
  picture->data = nullptr;  // the bitmap stays the caller's
  XDestroyImage(picture);
}

Rect X11Window::ScreenArea() {
  int x = 0, y = 0;
  Window child = 0;
  x_.TranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
  return {x, y, x + graphics_.Width(), y + graphics_.Height()};
}

Rect X11Window::ScreenSize() const {
  const int screen = DefaultScreen(display_);
  return {0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)};
}

Window X11Window::TopLevel() {
  Window current = parent_;
  for (Window above = ParentOf(current); above; above = ParentOf(current)) current = above;
  return current;
}

Window X11Window::ParentOf(Window window) {
  Window root = 0, above = 0, *children = nullptr;
  unsigned count = 0;
  if (!x_.QueryTree(display_, window, &root, &above, &children, &count)) return 0;
  if (children) x_.Free(children);
  return above == root ? 0 : above;
}

bool X11Window::ModalTurn(const std::function<void(XEvent&)>& dialog, int fd, int timeoutMs) {
  x_.Flush(display_);
  pollfd waits[2] = {{ConnectionNumber(display_), POLLIN, 0}, {fd, POLLIN, 0}};
  poll(waits, fd >= 0 ? 2 : 1, x_.Pending(display_) > 0 ? 0 : timeoutMs);
  while (x_.Pending(display_) > 0) {
    XEvent event;
    x_.NextEvent(display_, &event);
    const bool editors = event.xany.window == window_;
    if (editors && (event.type == Expose || event.type == DestroyNotify)) {
      HandleEvent(event);
    } else {
      dialog(event);
    }
  }
  return fd >= 0 && (waits[1].revents & (POLLIN | POLLHUP | POLLERR));
}

bool X11Window::Gone() const {
  return !window_ || !graphics_.WindowIsOpen();
}

void X11Window::ShowLine(LineEdit* edit, const Rect& area, const Rect& line, const TextStyle& style,
                         const std::string& caption) {
  line_ = {edit, area, line, style, caption};
  ErrorTrap trap(x_, display_);
  x_.GetInputFocus(display_, &focusBefore_, &revertBefore_);
  x_.SetInputFocus(display_, window_, RevertToParent, CurrentTime);
  DrawLine();
}

void X11Window::HideLine() {
  if (!line_.edit) return;
  uncovered_ = uncovered_.Empty() ? line_.area : uncovered_.Union(line_.area);
  line_ = {};
  RestoreFocus();
}

void X11Window::RestoreFocus() {
  ErrorTrap trap(x_, display_);
  Window focus = 0;
  int revert = 0;
  x_.GetInputFocus(display_, &focus, &revert);
  // The window that had the focus may be gone: the trap takes the error.
  if (focus == window_ && focusBefore_ != window_) {
    x_.SetInputFocus(display_, focusBefore_, revertBefore_, CurrentTime);
  }
}

void X11Window::DrawLine() {
  if (!line_.edit || !window_) return;
  const Rect& area = line_.area;
  Bitmap panel(area.Width(), area.Height(), 0xFFE8E8E8u);
  Canvas canvas(panel);
  const Rect line{line_.line.left - area.left, line_.line.top - area.top,
                  line_.line.right - area.left, line_.line.bottom - area.top};
  if (!line_.caption.empty()) {
    canvas.FrameRect(panel.Bounds(), Color{255, 128, 128, 128});
    TextStyle caption = line_.style;
    caption.align = TextStyle::kLeft;
    canvas.DrawText(line_.caption, caption, {line.left, 8, line.right, line.top});
  }
  line_.edit->Draw(canvas, line, line_.style);
  PutBitmap(window_, panel, area.left, area.top);
}

void X11Window::OpenTextEntryBox(const Rect& area, const TextStyle& style,
                                 const std::string& text) {
  const TextEntry& entry = graphics_.GetTextEntry();
  entry_ =
      std::make_unique<LineEdit>(text, [&entry](char32_t character, const std::string& current) {
        return entry.Accepts(character, current);
      });
  entryFocused_ = false;
  ShowLine(entry_.get(), area, area, style, {});
}

std::string X11Window::TextEntryBoxText() {
  return entry_ ? entry_->Text() : std::string();
}

void X11Window::CloseTextEntryBox() {
  HideLine();
  entry_.reset();
}

int X11Window::TrackPopupMenu(const PopupMenu& menu, int x, int y) {
  if (Gone()) return -1;
  ErrorTrap trap(x_, display_);
  const Rect screen = ScreenArea();
  return TrackMenu(*this, menu, screen.left + x, screen.top + y);
}

GraphicsBackEnd::MessageAnswer X11Window::ShowMessage(const std::string& text,
                                                      const std::string& caption,
                                                      MessageStyle style) {
  if (Gone()) return kAnswerCancel;
  ErrorTrap trap(x_, display_);
  return RunMessageBox(*this, text, caption, style);
}

std::string X11Window::ChooseFile(const FileRequest& request) {
  if (Gone()) return {};
  ErrorTrap trap(x_, display_);
  return RunFileDialog(*this, request);
}

void X11Window::ShowTooltip(const std::string& text) {
  if (text.empty()) {  // a control without a tip shows none
    HideTooltip();
    return;
  }
  if (tooltip_ && text == tooltipText_) return;
  ErrorTrap trap(x_, display_);
  HideTooltip();
  tooltipText_ = text;
  const Rect box = TooltipBox(text);
  const Rect screen = ScreenSize();
  const int left = std::max(std::min(pointerX_ + 12, screen.right - box.right), 0);
  const int top = std::min(pointerY_ + 20, screen.bottom - box.bottom);
  tooltip_ = CreateTopWindow({left, top, left + box.right, top + box.bottom}, true);
  if (tooltip_) x_.MapWindow(display_, tooltip_);
}

void X11Window::HideTooltip() {
  if (!tooltip_) return;
  ErrorTrap trap(x_, display_);
  x_.DestroyWindow(display_, tooltip_);
  tooltip_ = 0;
}

void X11Window::DrawTooltip() {
  const Rect box = TooltipBox(tooltipText_);
  Bitmap tip(box.right, box.bottom, 0xFFFFFFE1u);
  Canvas canvas(tip);
  canvas.FrameRect(box, Color{255, 120, 120, 120});
  TextStyle style;
  style.size = kTooltipTextSize;
  canvas.DrawText(tooltipText_, style, {0, 3, box.right, 3 + kTooltipTextSize});
  PutBitmap(tooltip_, tip, 0, 0);
}

std::string X11Window::ClipboardText() {
  if (Gone()) return {};
  ErrorTrap trap(x_, display_);
  const Atom clipboard = x_.InternAtom(display_, "CLIPBOARD", False);
  const Atom utf8 = x_.InternAtom(display_, "UTF8_STRING", False);
  const Atom property = x_.InternAtom(display_, "TARSYN7_CLIPBOARD", False);
  if (x_.GetSelectionOwner(display_, clipboard) == None) return {};
  x_.ConvertSelection(display_, clipboard, utf8, property, window_, CurrentTime);
  // The owner answers through the server; one that does not within a second has no text.
  bool answered = false, converted = false;
  const auto deadline = std::chrono::steady_clock::now() + kClipboardWait;
  while (!answered && !Gone() && std::chrono::steady_clock::now() < deadline) {
    ModalTurn(
        [&](XEvent& event) {
          if (event.type != SelectionNotify || event.xselection.requestor != window_) return;
          answered = true;
          converted = event.xselection.property == property;
        },
        -1, 50);
  }
  if (!converted) return {};
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  x_.GetWindowProperty(display_, window_, property, 0, kLongestClipboardText, True, AnyPropertyType,
                       &type, &format, &count, &remaining, &data);
  std::string text;
  if (data && format == 8 && type == utf8) {
    text.assign(reinterpret_cast<const char*>(data), count);
  }
  if (data) x_.Free(data);
  return text;
}
