#include "platform/x11/LineEdit.h"

#include <X11/keysym.h>

#include "drawing/Font.h"

namespace {

constexpr int kPadding = 2;

std::string Utf8Of(char32_t character) {
  std::string bytes;
  if (character < 0x80) {
    bytes += static_cast<char>(character);
  } else if (character < 0x800) {
    bytes += static_cast<char>(0xC0 | (character >> 6));
    bytes += static_cast<char>(0x80 | (character & 0x3F));
  } else if (character < 0x10000) {
    bytes += static_cast<char>(0xE0 | (character >> 12));
    bytes += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (character & 0x3F));
  } else {
    bytes += static_cast<char>(0xF0 | (character >> 18));
    bytes += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
    bytes += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (character & 0x3F));
  }
  return bytes;
}

}  // namespace

char32_t CharacterOfKey(KeySym key) {
  if ((key >= 0x20 && key <= 0x7E) || (key >= 0xA0 && key <= 0xFF)) {
    return static_cast<char32_t>(key);  // Latin-1 symbols are their characters
  }
  if (key >= 0x1000100 && key <= 0x110FFFF) return static_cast<char32_t>(key - 0x1000000);
  if (key >= XK_KP_0 && key <= XK_KP_9) return static_cast<char32_t>(U'0' + (key - XK_KP_0));
  if (key == XK_KP_Decimal) return U'.';
  if (key == XK_KP_Add) return U'+';
  if (key == XK_KP_Subtract) return U'-';
  return 0;
}

LineEdit::LineEdit(const std::string& text, Filter filter)
    : text_(text), filter_(std::move(filter)), caret_(text.size()) {}

size_t LineEdit::Previous(size_t position) const {
  while (position > 0 && (static_cast<unsigned char>(text_[--position]) & 0xC0) == 0x80) {
  }
  return position;
}

void LineEdit::EraseSelection() {
  if (!allSelected_) return;
  text_.clear();
  caret_ = 0;
  allSelected_ = false;
}

void LineEdit::Insert(char32_t character) {
  std::string without = allSelected_ ? std::string() : text_;
  if (!filter_(character, without)) return;
  EraseSelection();
  const std::string bytes = Utf8Of(character);
  text_.insert(caret_, bytes);
  caret_ += bytes.size();
}

LineEdit::Outcome LineEdit::Key(KeySym key, char32_t character) {
  switch (key) {
    case XK_Return:
    case XK_KP_Enter:
      return kEnter;
    case XK_Escape:
      return kEscape;
    case XK_BackSpace:
    case XK_Delete:
      if (allSelected_) {
        EraseSelection();
      } else if (key == XK_BackSpace && caret_ > 0) {
        const size_t start = Previous(caret_);
        text_.erase(start, caret_ - start);
        caret_ = start;
      } else if (key == XK_Delete && caret_ < text_.size()) {
        size_t end = caret_;
        NextCharacter(text_, end);
        text_.erase(caret_, end - caret_);
      }
      return kChanged;
    case XK_Left:
    case XK_Home:
      caret_ = key == XK_Home || allSelected_ ? 0 : Previous(caret_);
      allSelected_ = false;
      return kChanged;
    case XK_Right:
    case XK_End:
      if (key == XK_End || allSelected_) {
        caret_ = text_.size();
      } else if (caret_ < text_.size()) {
        NextCharacter(text_, caret_);
      }
      allSelected_ = false;
      return kChanged;
    default:
      if (!character) return kNothing;
      Insert(character);
      return kChanged;
  }
}

void LineEdit::Draw(Canvas& canvas, const Rect& area, const TextStyle& style) const {
  canvas.FillRect(area, style.entryBackground);
  TextStyle text = style;
  text.color = style.entryText;
  const int size = std::min(style.size, area.Height() - 2);
  text.size = size > 0 ? size : style.size;
  const int top = area.top + (area.Height() - text.size) / 2;
  Rect line{area.left + kPadding, top, area.right - kPadding, top + text.size};
  const double width = MeasureText(text_, text.size, text.weight);
  double start = line.left;  // where the text begins after the alignment
  if (style.align == TextStyle::kCenter) start += (line.Width() - width) / 2;
  if (style.align == TextStyle::kRight) start = line.right - width;
  if (allSelected_ && !text_.empty()) {
    canvas.FillRect(
        {static_cast<int>(start), line.top, static_cast<int>(start + width) + 1, line.bottom},
        Color{255, 51, 153, 255});
    text.color = Color{255, 255, 255, 255};
  }
  canvas.DrawText(text_, text, line);
  if (!allSelected_) {
    const int x =
        static_cast<int>(start + MeasureText(text_.substr(0, caret_), text.size, text.weight));
    canvas.DrawLine(x, line.top, x, line.bottom - 1, style.entryText);
  }
}
