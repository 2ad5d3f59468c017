#pragma once

#include <functional>
#include <string>

#include "drawing/Canvas.h"
#include "platform/x11/Xlib.h"

// One line of editable UTF-8 text drawn by ourselves: the in-place text entry and the path
// entry that stands in for a file dialog. It starts with all its text selected, so the
// first typed character replaces it.
class LineEdit {
 public:
  enum Outcome { kNothing, kChanged, kEnter, kEscape };
  // Whether `character` may go into the text `current` (which it would then join).
  using Filter = std::function<bool(char32_t character, const std::string& current)>;

  LineEdit(const std::string& text, Filter filter);

  const std::string& Text() const { return text_; }
  Outcome Key(KeySym key, char32_t character);
  // The box over `area`: its background, the text after the style, the selection or caret.
  void Draw(Canvas& canvas, const Rect& area, const TextStyle& style) const;

 private:
  void Insert(char32_t character);
  void EraseSelection();
  size_t Previous(size_t position) const;

  std::string text_;
  Filter filter_;
  size_t caret_ = 0;  // a byte offset between characters
  bool allSelected_ = true;
};

// The Unicode character a key symbol types, or 0.
char32_t CharacterOfKey(KeySym key);
