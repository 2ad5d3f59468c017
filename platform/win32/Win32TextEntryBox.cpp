#include "platform/win32/Win32TextEntryBox.h"

#include "editor/IGraphics.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Clipboard.h"

namespace {

const wchar_t kBoxProperty[] = L"Tarsyn7TextEntry";

COLORREF ColourOf(const Color& color) {
  return RGB(color.r, color.g, color.b);
}

DWORD AlignmentOf(TextStyle::Align align) {
  switch (align) {
    case TextStyle::kLeft:
      return ES_LEFT;
    case TextStyle::kRight:
      return ES_RIGHT;
    case TextStyle::kCenter:
      break;
  }
  return ES_CENTER;
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], length + 1)));
  return text;
}

// The code point starting at `position` (a surrogate pair taken whole), `position` moved on.
char32_t NextCodePoint(const std::wstring& text, size_t& position) {
  const char32_t first = text[position++];
  if (first >= 0xD800 && first < 0xDC00 && position < text.size()) {
    const char32_t second = text[position];
    if (second >= 0xDC00 && second < 0xE000) {
      ++position;
      return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    }
  }
  return first;
}

}  // namespace

Win32TextEntryBox::Win32TextEntryBox(IGraphics& graphics, HWND parent, const Rect& area,
                                     const TextStyle& style, const std::string& text)
    : graphics_(graphics),
      textColour_(ColourOf(style.entryText)),
      backgroundColour_(ColourOf(style.entryBackground)) {
  const HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  edit_ =
      CreateWindowExW(0, L"EDIT", WideFromUtf8(text).c_str(),
                      WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | AlignmentOf(style.align), area.left,
                      area.top, area.Width(), area.Height(), parent, nullptr, module, nullptr);
  if (!edit_) return;
  font_ = CreateFontW(-style.size, 0, 0, 0, style.weight == TextStyle::kBold ? FW_BOLD : FW_NORMAL,
                      style.weight == TextStyle::kItalic, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                      WideFromUtf8(style.font).c_str());
  background_ = CreateSolidBrush(backgroundColour_);
  if (font_) SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SetPropW(edit_, kBoxProperty, this);
  editProcedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
  SendMessageW(edit_, EM_SETSEL, 0, -1);
  SetFocus(edit_);
}

Win32TextEntryBox::~Win32TextEntryBox() {
  if (edit_) {
    // Unhooked first: the focus it loses while going is no request of the user's.
    SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProcedure_));
    RemovePropW(edit_, kBoxProperty);
    const HWND parent = GetParent(edit_);
    const bool focused = GetFocus() == edit_;
    DestroyWindow(edit_);
    if (focused && parent) SetFocus(parent);
  }
  if (font_) DeleteObject(font_);
  if (background_) DeleteObject(background_);
}

std::string Win32TextEntryBox::Text() const {
  return edit_ ? Utf8FromWide(WindowText(edit_)) : std::string();
}

HBRUSH Win32TextEntryBox::Paint(HDC dc) const {
  SetTextColor(dc, textColour_);
  SetBkColor(dc, backgroundColour_);
  return background_;
}

LRESULT CALLBACK Win32TextEntryBox::Procedure(HWND edit, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  auto* box = static_cast<Win32TextEntryBox*>(GetPropW(edit, kBoxProperty));
  return box ? box->OnMessage(message, wParam, lParam)
             : DefWindowProcW(edit, message, wParam, lParam);
}

LRESULT Win32TextEntryBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | CallWindowProcW(editProcedure_, edit_, message, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        graphics_.RequestTextEntryCommit();
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        graphics_.RequestTextEntryCancel();
        return 0;
      }
      break;
    case WM_CHAR: {
      const auto typed = static_cast<wchar_t>(wParam);
      if (typed == L'\r' || typed == L'\x1b') return 0;  // answered on the key press
      if (typed < L' ') break;                           // backspace and the editing shortcuts
      if (typed >= 0xD800 && typed < 0xDC00) {
        highSurrogate_ = typed;  // the second half follows
        return 0;
      }
      std::wstring character;
      if (highSurrogate_ && typed >= 0xDC00 && typed < 0xE000) character += highSurrogate_;
      highSurrogate_ = 0;
      Insert(character + typed);
      return 0;
    }
    case WM_PASTE:
      Insert(ClipboardText(edit_));
      return 0;
    case WM_KILLFOCUS:
      graphics_.RequestTextEntryCommit();
      break;
    default:
      break;
  }
  return CallWindowProcW(editProcedure_, edit_, message, wParam, lParam);
}

void Win32TextEntryBox::Insert(const std::wstring& typed) {
  DWORD start = 0, end = 0;
  SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  std::wstring kept = WindowText(edit_);
  if (start <= end && end <= kept.size()) kept.erase(start, end - start);
  std::string current = Utf8FromWide(kept);
  std::wstring accepted;
  for (size_t position = 0; position < typed.size();) {
    const size_t first = position;
    const char32_t character = NextCodePoint(typed, position);
    const std::wstring piece = typed.substr(first, position - first);
    if (!graphics_.GetTextEntry().Accepts(character, current)) continue;
    accepted += piece;
    current += Utf8FromWide(piece);
  }
  if (!accepted.empty())
    SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(accepted.c_str()));
}
