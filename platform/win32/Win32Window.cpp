#include "platform/win32/Win32Window.h"

#include <shellapi.h>
#include <windowsx.h>

#include "editor/IGraphics.h"
#include "editor/KeyCodes.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32FileDialog.h"
#include "platform/win32/Win32PopupMenu.h"

namespace {

const wchar_t kClassName[] = L"IPlugWndClass";
constexpr UINT_PTR kIdleTimer = 2;
constexpr UINT kCaptureLost = WM_APP + 1;
constexpr UINT kTimerPeriodMs = 1000 / IGraphics::kFrameRate;
// How long the host may take to answer a key passed on before we go on without it.
constexpr UINT kKeyPassingTimeoutMs = 200;

// The window class belongs to this module and lives while any editor window does.
SRWLOCK classLock = SRWLOCK_INIT;
int windowsOfClass = 0;

class ClassLockHeld {
 public:
  ClassLockHeld() { AcquireSRWLockExclusive(&classLock); }
  ~ClassLockHeld() { ReleaseSRWLockExclusive(&classLock); }
  ClassLockHeld(const ClassLockHeld&) = delete;
  ClassLockHeld& operator=(const ClassLockHeld&) = delete;
};

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

bool AcquireWindowClass(WNDPROC procedure) {
  ClassLockHeld held;
  if (windowsOfClass == 0) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      return false;
    }
  }
  ++windowsOfClass;
  return true;
}

void ReleaseWindowClass() {
  ClassLockHeld held;
  if (--windowsOfClass == 0) UnregisterClassW(kClassName, ThisModule());
}

MouseModifiers ModifiersOf(WPARAM keys) {
  MouseModifiers modifiers;
  modifiers.left = keys & MK_LBUTTON;
  modifiers.right = keys & MK_RBUTTON;
  modifiers.shift = keys & MK_SHIFT;
  modifiers.control = keys & MK_CONTROL;
  modifiers.alt = GetKeyState(VK_MENU) < 0;
  return modifiers;
}

int EditorKeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_SPACE:
      return EditorKeyCode(NamedKey::kSpace);
    case VK_UP:
      return EditorKeyCode(NamedKey::kUp);
    case VK_DOWN:
      return EditorKeyCode(NamedKey::kDown);
    case VK_LEFT:
      return EditorKeyCode(NamedKey::kLeft);
    case VK_RIGHT:
      return EditorKeyCode(NamedKey::kRight);
    default:
      break;
  }
  // Digits and letters have their characters as key codes.
  const bool digit = virtualKey >= '0' && virtualKey <= '9';
  const bool letter = virtualKey >= 'A' && virtualKey <= 'Z';
  return digit || letter ? EditorKeyCode(static_cast<char>(virtualKey)) : kNoKey;
}

bool IsWebAddress(const std::string& address) {
  return address.rfind("https://", 0) == 0 || address.rfind("http://", 0) == 0;
}

}  // namespace

std::unique_ptr<EditorWindow> OpenEditorWindow(IGraphics& graphics, void* parent) {
  return Win32Window::Open(graphics, static_cast<HWND>(parent));
}

std::unique_ptr<Win32Window> Win32Window::Open(IGraphics& graphics, HWND parent) {
  if (!parent || !IsWindow(parent) || !AcquireWindowClass(&Procedure)) return nullptr;
  std::unique_ptr<Win32Window> window(new Win32Window(graphics));
  window->ownsClass_ = true;
  CreateWindowExW(0, kClassName, L"IPlug", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                  graphics.Width(), graphics.Height(), parent, nullptr, ThisModule(), window.get());
  if (!window->window_) return nullptr;
  window->tooltip_ = std::make_unique<Win32Tooltip>(window->window_);
  if (!window->tooltip_->Available()) {
    window->tooltip_.reset();
    graphics.SetTooltips(false);
  }
  return window;
}

Win32Window::~Win32Window() {
  entry_.reset();
  tooltip_.reset();
  if (window_) {
    // The host may still show its window; ours goes without calling back into us.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    KillTimer(window_, kIdleTimer);
    DestroyWindow(window_);
  }
  if (ownsClass_) ReleaseWindowClass();
}

LRESULT CALLBACK Win32Window::Procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window =
        static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->window_ = handle;
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  return window ? window->OnMessage(message, wParam, lParam)
                : DefWindowProcW(handle, message, wParam, lParam);
}

LRESULT Win32Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      SetTimer(window_, kIdleTimer, kTimerPeriodMs, nullptr);
      SetFocus(window_);
      return 0;
    case WM_TIMER:
      if (wParam == kIdleTimer) graphics_.OnTimer();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the editor paints every pixel
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      OnButton(message, wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, lParam);
      return 0;
    case WM_MOUSEHOVER:
      graphics_.OnMouseHover();
      return 0;
    case WM_MOUSELEAVE:
      mouseX_ = mouseY_ = -1;
      graphics_.OnMouseLeave();
      return 0;
    case WM_MOUSEWHEEL:
      OnWheel(wParam, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      // Taken away mid-drag (another program, a dialog): the control is let go once the
      // editor is back in its own loop. A menu or dialog of the editor's own lets go of
      // it itself when it returns, so the note finds nothing captured then.
      if (reinterpret_cast<HWND>(lParam) != window_) PostMessageW(window_, kCaptureLost, 0, 0);
      return 0;
    case kCaptureLost:
      if (graphics_.CapturedControl() >= 0) {
        MouseModifiers left, right;
        left.left = true;
        right.right = true;
        graphics_.OnMouseUp(mouseX_, mouseY_, left);  // as released by whichever button
        graphics_.OnMouseUp(mouseX_, mouseY_, right);
      }
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (!OnKey(message, wParam, lParam)) PassKeyOn(message, wParam, lParam);
      return 0;
    case WM_CHAR:
      return 0;  // the host makes its own from the keys passed on
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_CTLCOLOREDIT:
      if (entry_ && reinterpret_cast<HWND>(lParam) == entry_->Window()) {
        return reinterpret_cast<LRESULT>(entry_->Paint(reinterpret_cast<HDC>(wParam)));
      }
      break;
    case WM_DESTROY:
      // The host destroyed its window first: ours goes with it, the editor stays.
      KillTimer(window_, kIdleTimer);
      entry_.reset();
      tooltip_.reset();
      return 0;
    case WM_NCDESTROY: {
      const HWND handle = window_;
      SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
      window_ = nullptr;
      return DefWindowProcW(handle, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32Window::OnButton(UINT message, WPARAM wParam, LPARAM lParam) {
  mouseX_ = GET_X_LPARAM(lParam);
  mouseY_ = GET_Y_LPARAM(lParam);
  MouseModifiers modifiers = ModifiersOf(wParam);
  const bool release =
      message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
  if (release) {
    // The state after the release no longer holds the button released.
    modifiers.left = modifiers.left || message == WM_LBUTTONUP;
    modifiers.right = modifiers.right || message == WM_RBUTTONUP;
    graphics_.OnMouseUp(mouseX_, mouseY_, modifiers);
    if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == window_) {
      ReleaseCapture();
    }
    return;
  }
  if (!graphics_.GetTextEntry().IsOpen()) {
    SetFocus(window_);
    SetCapture(window_);
  }
  if (message == WM_LBUTTONDBLCLK) {
    graphics_.OnMouseDblClick(mouseX_, mouseY_, modifiers);
  } else {
    graphics_.OnMouseDown(mouseX_, mouseY_, modifiers);
  }
}

void Win32Window::OnMouseMove(WPARAM wParam, LPARAM lParam) {
  mouseX_ = GET_X_LPARAM(lParam);
  mouseY_ = GET_Y_LPARAM(lParam);
  const MouseModifiers modifiers = ModifiersOf(wParam);
  if ((modifiers.left || modifiers.right) && GetCapture() == window_) {
    graphics_.OnMouseDrag(mouseX_, mouseY_, modifiers);
    return;
  }
  graphics_.OnMouseMove(mouseX_, mouseY_, modifiers);
  // Told when the pointer leaves, and when it rests (for the tooltip).
  TRACKMOUSEEVENT tracking{sizeof tracking, TME_LEAVE | TME_HOVER, window_, HOVER_DEFAULT};
  TrackMouseEvent(&tracking);
}

void Win32Window::OnWheel(WPARAM wParam, LPARAM lParam) {
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};  // on the screen
  ScreenToClient(window_, &at);
  wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
  const int notches = wheelRest_ / WHEEL_DELTA;
  wheelRest_ -= notches * WHEEL_DELTA;
  if (notches != 0) {
    graphics_.OnMouseWheel(at.x, at.y, ModifiersOf(GET_KEYSTATE_WPARAM(wParam)), notches);
  }
}

void Win32Window::OnPaint() {
  PAINTSTRUCT paint;
  paintDc_ = BeginPaint(window_, &paint);
  if (paintDc_) {
    graphics_.Paint(
        {paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom});
  }
  EndPaint(window_, &paint);
  paintDc_ = nullptr;
}

bool Win32Window::OnKey(UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_KEYDOWN) return false;
  const int key = EditorKeyOf(wParam);
  return key != kNoKey && graphics_.OnKeyDown(mouseX_, mouseY_, key);
}

// Sent, not posted: a host that hands the keys of its window to the focused child gives
// ours back while we wait, and it ends here instead of going round forever. A copy it
// posted back meanwhile is taken out of the queue unseen.
void Win32Window::PassKeyOn(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND root = GetAncestor(window_, GA_ROOT);
  if (passingKeyOn_ || !root || root == window_) return;
  passingKeyOn_ = true;
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(root, message, wParam, lParam, SMTO_ABORTIFHUNG, kKeyPassingTimeoutMs,
                      &answer);
  passingKeyOn_ = false;
  MSG echo;
  while (window_ && PeekMessageW(&echo, window_, message, message, PM_REMOVE | PM_QS_POSTMESSAGE)) {
  }
}

void Win32Window::Present(const Bitmap& buffer, const Rect& area) {
  if (!window_ || buffer.Empty()) return;
  HDC dc = paintDc_ ? paintDc_ : GetDC(window_);
  if (!dc) return;
  // 0xAARRGGBB words are the bytes of a top-down 32-bit DIB.
  BITMAPINFO picture{};
  picture.bmiHeader.biSize = sizeof picture.bmiHeader;
  picture.bmiHeader.biWidth = buffer.Width();
  picture.bmiHeader.biHeight = -buffer.Height();
  picture.bmiHeader.biPlanes = 1;
  picture.bmiHeader.biBitCount = 32;
  picture.bmiHeader.biCompression = BI_RGB;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(buffer.Width()),
                    static_cast<DWORD>(buffer.Height()), 0, 0, 0,
                    static_cast<UINT>(buffer.Height()), buffer.Row(0), &picture, DIB_RGB_COLORS);
  RestoreDC(dc, saved);
  if (!paintDc_) ReleaseDC(window_, dc);
}

// The modal calls below touch nothing of this object once the system's loop returns: the
// host may have closed the editor meanwhile.
int Win32Window::TrackPopupMenu(const PopupMenu& menu, int x, int y) {
  if (!window_) return -1;
  POINT at{x, y};
  ClientToScreen(window_, &at);
  return TrackWin32PopupMenu(menu, window_, at);
}

GraphicsBackEnd::MessageAnswer Win32Window::ShowMessage(const std::string& text,
                                                        const std::string& caption,
                                                        MessageStyle style) {
  UINT type = MB_OK;
  if (style == kOkInformation) type = MB_OK | MB_ICONINFORMATION;
  if (style == kOkError) type = MB_OK | MB_ICONERROR;
  if (style == kYesNo) type = MB_YESNO | MB_ICONQUESTION;
  const int answer =
      MessageBoxW(window_, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), type);
  switch (answer) {
    case IDOK:
      return kAnswerOk;
    case IDYES:
      return kAnswerYes;
    case IDNO:
      return kAnswerNo;
    default:  // no box could be shown: nothing is confirmed
      return style == kYesNo ? kAnswerNo : kAnswerCancel;
  }
}

std::string Win32Window::ChooseFile(const FileRequest& request) {
  return RunWin32FileDialog(request, window_);
}

void Win32Window::OpenTextEntryBox(const Rect& area, const TextStyle& style,
                                   const std::string& text) {
  if (!window_ || entry_) return;
  entry_ = std::make_unique<Win32TextEntryBox>(graphics_, window_, area, style, text);
  if (!entry_->IsOpen()) graphics_.RequestTextEntryCancel();
}

std::string Win32Window::TextEntryBoxText() {
  return entry_ ? entry_->Text() : std::string();
}

void Win32Window::CloseTextEntryBox() {
  entry_.reset();
}

void Win32Window::ShowTooltip(const std::string& text) {
  if (tooltip_) tooltip_->Show(text);
}

void Win32Window::HideTooltip() {
  if (tooltip_) tooltip_->Hide();
}

// Only web addresses: anything else handed to the shell could start a program.
bool Win32Window::OpenWebPage(const std::string& address) {
  if (!IsWebAddress(address)) return false;
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      window_, L"open", WideFromUtf8(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

std::string Win32Window::ClipboardText() {
  return Utf8FromWide(::ClipboardText(window_));
}
