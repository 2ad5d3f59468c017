// A Windows host's side of the plug-in's editor: a top-level window that the editor opens
// in through effEditOpen, a message loop with the editor's idle calls, a posted click on
// the "God Mode" switch, a key passed on to the host, and a capture of the editor's window.
//
//   editorhost PLUGIN CAPTURE.ppm PANEL.png
//
// CAPTURE.ppm receives the editor's window as the screen shows it, PANEL.png the plug-in's
// own drawing of the same state without a window, for the caller to compare. Prints one
// line per failed check and closes with "editorhost: N passed, M failed".
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "host/ToolCommands.h"
#include "host/Vst2.h"
#include "platform/DynamicLibrary.h"
#include "tests/vsthost/HostChecks.h"

namespace {

using EntryPoint = AEffect*(VST_CALLBACK*)(HostCallback);

constexpr int kWidth = 1054;
constexpr int kHeight = 600;
constexpr POINT kGodModeSwitch{955, 74};  // the middle of the switch
constexpr POINT kProgramName{560, 11};
constexpr POINT kMenuButton{228, 84};
const wchar_t kHostClass[] = L"Tarsyn7EditorHost";

HostChecks checks;

void Check(bool condition, const std::string& what) {
  checks.Check(condition, what);
}

std::vector<std::pair<int32_t, float>> automated;

VstIntPtr VST_CALLBACK AnswerPlugin(AEffect*, int32_t opcode, int32_t index, VstIntPtr, void*,
                                    float opt) {
  if (opcode == audioMasterVersion) return kVstVersion;
  if (opcode == audioMasterAutomate) automated.emplace_back(index, opt);
  return 0;
}

VstIntPtr Dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr) {
  return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
}

// Like careless hosts, the window hands every key it gets to its child, at once and once
// more later: the editor must not send them round forever.
int keysAtHost = 0;

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_KEYDOWN) return DefWindowProcW(window, message, wParam, lParam);
  ++keysAtHost;
  if (HWND child = GetWindow(window, GW_CHILD)) {
    SendMessageW(child, message, wParam, lParam);
    PostMessageW(child, message, wParam, lParam);
  }
  return 0;
}

// A top-level window without `frame`, else a container inside it, as hosts place editors.
HWND MakeHostWindow(HWND frame = nullptr) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = HostProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kHostClass;
  RegisterClassW(&windowClass);  // already there from the last window: fine
  const DWORD style = (frame ? WS_CHILD : WS_OVERLAPPEDWINDOW) | WS_CLIPCHILDREN | WS_VISIBLE;
  return CreateWindowExW(0, kHostClass, L"Tarsyn7 editor host", style, 0, 0, 1100, 700, frame,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The host's loop for a while: window messages, and the editor's idle call between them.
void Pump(AEffect* effect, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Dispatch(effect, effEditIdle);
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

int32_t ParameterNamed(AEffect* effect, const std::string& name) {
  for (int32_t i = 0; i < effect->numParams; ++i) {
    char text[256] = {};
    Dispatch(effect, effGetParamName, i, 0, text);
    if (name == text) return i;
  }
  return -1;
}

// The window's pixels as the screen shows them, as a binary PPM file.
bool WriteCapture(HWND window, const std::string& path) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = kWidth;
  format.bmiHeader.biHeight = -kHeight;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (picture && memory) {
    HGDIOBJ before = SelectObject(memory, picture);
    copied = BitBlt(memory, 0, 0, kWidth, kHeight, screen, 0, 0, SRCCOPY);
    GdiFlush();
    SelectObject(memory, before);
  }
  std::vector<unsigned char> rgb;
  for (int i = 0; copied && i < kWidth * kHeight; ++i) {
    const unsigned char* bgra = static_cast<const unsigned char*>(bits) + 4 * i;
    rgb.insert(rgb.end(), {bgra[2], bgra[1], bgra[0]});
  }
  if (picture) DeleteObject(picture);
  if (memory) DeleteDC(memory);
  ReleaseDC(window, screen);
  std::FILE* file = copied ? std::fopen(path.c_str(), "wb") : nullptr;
  if (!file) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", kWidth, kHeight);
  const bool written = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
  return std::fclose(file) == 0 && written;
}

HWND EditorIn(HWND host) {
  return GetWindow(host, GW_CHILD);
}

void OpenInTheHostsWindow(AEffect* effect, HWND host) {
  ERect* rect = nullptr;
  Check(Dispatch(effect, effEditGetRect, 0, 0, &rect) == 1 && rect &&
            rect->right - rect->left == kWidth && rect->bottom - rect->top == kHeight,
        "the editor is 1054 x 600");
  Check(Dispatch(effect, effEditOpen, 0, 0, host) == 1, "the editor opens");
  HWND editor = EditorIn(host);
  RECT area{};
  Check(editor && GetClientRect(editor, &area) && area.right == kWidth && area.bottom == kHeight,
        "the editor is a child window of the host's, of the editor's size");
}

void ClickGodMode(AEffect* effect, HWND editor) {
  const int32_t godMode = ParameterNamed(effect, "God Mode");
  const float before = effect->getParameter(effect, godMode);
  automated.clear();
  const LPARAM at = MAKELPARAM(kGodModeSwitch.x, kGodModeSwitch.y);
  PostMessageW(editor, WM_MOUSEMOVE, 0, at);
  PostMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(editor, WM_LBUTTONUP, 0, at);
  Pump(effect, 300);
  const float after = effect->getParameter(effect, godMode);
  bool told = false;
  for (const auto& [index, value] : automated) told |= index == godMode && value == after;
  Check(godMode >= 0 && after != before, "a click on the switch changes \"God Mode\"");
  Check(told, "the host is told of the change");
}

void PassKeyToHost(AEffect* effect, HWND editor) {
  keysAtHost = 0;
  PostMessageW(editor, WM_KEYDOWN, VK_F5, 1);
  Pump(effect, 300);
  Check(keysAtHost == 1, "a key the editor does not use reaches the host once, not " +
                             std::to_string(keysAtHost) + " times");
}

std::string ProgramName(AEffect* effect) {
  char name[kVstMaxProgramNameLength + 1] = {};
  Dispatch(effect, effGetProgramName, 0, 0, name);
  return name;
}

// A click on the program's name opens a text entry over it; typing replaces the selected
// name, Enter keeps it, Escape leaves the name as it was.
void RenameProgram(AEffect* effect, HWND editor, const std::wstring& typed, WPARAM key) {
  PostMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kProgramName.x, kProgramName.y));
  PostMessageW(editor, WM_LBUTTONUP, 0, MAKELPARAM(kProgramName.x, kProgramName.y));
  Pump(effect, 200);
  HWND entry = FindWindowExW(editor, nullptr, L"EDIT", nullptr);
  Check(entry != nullptr, "a click on the program name opens a text entry");
  if (!entry) return;
  for (wchar_t character : typed) PostMessageW(entry, WM_CHAR, character, 1);
  PostMessageW(entry, WM_KEYDOWN, key, 1);
  Pump(effect, 200);
  Check(!FindWindowExW(editor, nullptr, L"EDIT", nullptr), "the text entry closes");
}

void EditProgramName(AEffect* effect, HWND editor) {
  // Beyond Latin-1, and a character outside the basic plane (two UTF-16 units).
  RenameProgram(effect, editor, L"Gr\u00f6\u00dfe \u266a \U0001D11E", VK_RETURN);
  const std::string renamed =
      "Gr\xc3\xb6\xc3\x9f"
      "e \xe2\x99\xaa \xf0\x9d\x84\x9e";
  Check(ProgramName(effect) == renamed, "the name typed is the program's name, in UTF-8");
  RenameProgram(effect, editor, L"Lost", VK_ESCAPE);
  Check(ProgramName(effect) == renamed, "Escape keeps the name");
}

// What the open main menu shows, looked at from a timer inside the menu's own loop, which
// then picks the first entry ("Copy Program") or dismisses the menu.
struct MenuSight {
  bool seen = false;
  std::wstring first;
  bool pasteGrayed = false;
  bool pickFirst = false;
} menuSight;

void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND popup = FindWindowW(L"#32768", nullptr);
  auto menu = popup ? reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
  if (!menu) return;
  wchar_t text[64] = {};
  GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  menuSight = {true, text, (GetMenuState(menu, 1, MF_BYPOSITION) & MF_GRAYED) != 0,
               menuSight.pickFirst};
  if (!menuSight.pickFirst) {
    EndMenu();
    return;
  }
  PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
}

void OpenMainMenu(AEffect* effect, HWND editor, bool pickFirst) {
  menuSight = {};
  menuSight.pickFirst = pickFirst;
  SetTimer(nullptr, 0, 300, LookAtMenu);
  const LPARAM at = MAKELPARAM(kMenuButton.x, kMenuButton.y);
  PostMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(editor, WM_LBUTTONUP, 0, at);
  Pump(effect, 800);
}

// The menu's entries, flags and answers: "Paste Program..." is grayed until a program
// was copied; a dismissed menu changes nothing.
void UseMainMenu(AEffect* effect, HWND editor) {
  const std::string name = ProgramName(effect);
  OpenMainMenu(effect, editor, false);
  Check(menuSight.seen && menuSight.first == L"Copy Program" && menuSight.pasteGrayed,
        "the main menu opens with its entries, \"Paste Program...\" grayed");
  Check(ProgramName(effect) == name, "a dismissed menu changes nothing");
  OpenMainMenu(effect, editor, true);
  OpenMainMenu(effect, editor, false);
  Check(menuSight.seen && !menuSight.pasteGrayed, "\"Copy Program\" chosen: pasting is offered");
}

// Every other time the host destroys its container, and the editor's window with it, first.
void OpenAndCloseMany(AEffect* effect, HWND frame, HMODULE plugin) {
  const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) +
                        GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  bool opened = true, closed = true;
  for (int i = 0; i < 100; ++i) {
    HWND host = MakeHostWindow(frame);
    opened = opened && Dispatch(effect, effEditOpen, 0, 0, host) == 1 && EditorIn(host);
    Pump(effect, 0);
    if (i % 2) DestroyWindow(host);
    closed = closed && Dispatch(effect, effEditClose) == 1;
    if (!(i % 2)) {
      closed = closed && !EditorIn(host);
      DestroyWindow(host);
    }
  }
  Check(opened && closed, "the editor opens and closes 100 times");
  const DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) +
                      GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  std::printf("window and drawing objects before 100 opens and closes: %lu, after: %lu\n",
              static_cast<unsigned long>(objects), static_cast<unsigned long>(after));
  Check(after <= objects, "no window or drawing object is left behind");
  Check(Dispatch(effect, effEditOpen, 0, 0, frame) == 1 &&
            Dispatch(effect, effEditOpen, 0, 0, frame) == 0,
        "a second open without a close is refused");
  WNDCLASSEXW editorClass{};
  editorClass.cbSize = sizeof editorClass;
  const bool registered = GetClassInfoExW(plugin, L"IPlugWndClass", &editorClass);
  Dispatch(effect, effEditClose);
  Check(registered && !GetClassInfoExW(plugin, L"IPlugWndClass", &editorClass),
        "the editor's window class lives as long as its windows");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::printf("usage: editorhost PLUGIN CAPTURE.ppm PANEL.png\n");
    return 2;
  }
  DynamicLibrary library(argv[1]);
  auto entry = reinterpret_cast<EntryPoint>(library.Symbol("VSTPluginMain"));
  AEffect* effect = entry ? entry(&AnswerPlugin) : nullptr;
  if (!effect) {
    std::printf("cannot load %s: %s\n", argv[1], library.Error().c_str());
    return 1;
  }
  Dispatch(effect, effOpen);
  Dispatch(effect, effMainsChanged, 0, 1);

  HWND host = MakeHostWindow();
  OpenInTheHostsWindow(effect, host);
  Pump(effect, 500);
  ClickGodMode(effect, EditorIn(host));
  PassKeyToHost(effect, EditorIn(host));
  EditProgramName(effect, EditorIn(host));
  UseMainMenu(effect, EditorIn(host));
  Pump(effect, 1000);  // every display settled
  Check(WriteCapture(EditorIn(host), argv[2]), "the editor's window captured");
  Check(Dispatch(effect, effEditClose) == 1 && !EditorIn(host), "the editor closes");
  Check(Dispatch(effect, effVendorSpecific, ToolCommands::kIndex,
                 ToolCommands::kWritePanelScreenshot, argv[3]) == 1,
        "the plug-in draws its panel without a window");
  HMODULE plugin = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(entry), &plugin);
  OpenAndCloseMany(effect, host, plugin);
  DestroyWindow(host);
  Dispatch(effect, effClose);

  return checks.Summary("editorhost");
}
