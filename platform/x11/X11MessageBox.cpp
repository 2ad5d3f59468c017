#include <X11/keysym.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "drawing/Canvas.h"
#include "drawing/Font.h"
#include "platform/x11/X11Dialogs.h"
#include "platform/x11/X11Window.h"

namespace {

using MessageAnswer = GraphicsBackEnd::MessageAnswer;

constexpr int kMargin = 20;
constexpr int kLineHeight = 18;
constexpr double kWidestLine = 560;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr Color kButtonFace{255, 225, 225, 225};
using namespace dialog_look;

double WidthOf(const std::string& text) {
  return MeasureText(text, kTextSize, TextStyle::kNormal);
}

// One paragraph broken before words that would pass the widest line; a word wider than a
// line alone (a long path) is broken between characters.
void Wrap(const std::string& paragraph, std::vector<std::string>& lines) {
  std::string line;
  for (size_t position = 0; position < paragraph.size();) {
    const size_t start = position;
    NextCharacter(paragraph, position);
    const std::string character = paragraph.substr(start, position - start);
    if (WidthOf(line + character) <= kWidestLine || line.empty()) {
      line += character;
      continue;
    }
    const size_t space = line.rfind(' ');
    if (character != " " && space != std::string::npos && space > 0) {
      lines.push_back(line.substr(0, space));
      line = line.substr(space + 1) + character;
    } else {
      lines.push_back(line);
      line = character == " " ? std::string() : character;
    }
  }
  lines.push_back(line);
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    Wrap(text.substr(start, end - start), lines);
  }
  Wrap(text.substr(start), lines);
  for (std::string& line : lines) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }
  return lines;
}

class MessageBox {
 public:
  MessageBox(X11Window& owner, const std::string& text, GraphicsBackEnd::MessageStyle style)
      : owner_(owner), x_(owner.X()), lines_(LinesOf(text)), style_(style) {
    if (style == GraphicsBackEnd::kYesNo) {
      buttons_ = {{"Yes", GraphicsBackEnd::kAnswerYes, {}}, {"No", GraphicsBackEnd::kAnswerNo, {}}};
    } else {
      buttons_ = {{"OK", GraphicsBackEnd::kAnswerOk, {}}};
    }
    // Escape, and closing the box, answer "no" or "OK".
    dismissal_ = buttons_.back().answer;
  }
  ~MessageBox() {
    if (window_) x_.DestroyWindow(owner_.GetDisplay(), window_);
    x_.Flush(owner_.GetDisplay());
  }
  MessageBox(const MessageBox&) = delete;
  MessageBox& operator=(const MessageBox&) = delete;

  MessageAnswer Run(const std::string& caption) {
    Display* display = owner_.GetDisplay();
    const Rect size = Layout();
    const Rect editor = owner_.ScreenArea();
    const int left = (editor.left + editor.right - size.right) / 2;
    const int top = (editor.top + editor.bottom - size.bottom) / 2;
    window_ = owner_.CreateTopWindow({left, top, left + size.right, top + size.bottom}, false);
    if (!window_) return GraphicsBackEnd::kAnswerCancel;
    x_.StoreName(display, window_, caption.c_str());
    x_.SetTransientForHint(display, window_, owner_.TopLevel());
    Atom closing = x_.InternAtom(display, "WM_DELETE_WINDOW", False);
    x_.SetWMProtocols(display, window_, &closing, 1);
    closing_ = closing;
    x_.MapWindow(display, window_);
    while (!answer_ && !owner_.Gone()) {
      owner_.ModalTurn([this](XEvent& event) { Handle(event); }, -1, 100);
    }
    return answer_ ? *answer_ : GraphicsBackEnd::kAnswerCancel;
  }

 private:
  struct Button {
    const char* text;
    MessageAnswer answer;
    Rect area;
  };

  bool HasIcon() const {
    return style_ == GraphicsBackEnd::kOkInformation || style_ == GraphicsBackEnd::kOkError;
  }

  // The box's size, and where the text and the buttons go.
  Rect Layout() {
    double textWidth = 0;
    for (const std::string& line : lines_) {
      textWidth = std::max(textWidth, WidthOf(line));
    }
    textLeft_ = kMargin + (HasIcon() ? kIconSize + kMargin / 2 : 0);
    const int buttonsWidth = static_cast<int>(buttons_.size()) * (kButtonWidth + 10) - 10;
    const int width = std::max(textLeft_ + static_cast<int>(textWidth), buttonsWidth) + 2 * kMargin;
    const int textHeight =
        std::max(static_cast<int>(lines_.size()) * kLineHeight, HasIcon() ? kIconSize : 0);
    const int height = kMargin + textHeight + kMargin + kButtonHeight + kMargin;
    int x = width - kMargin - buttonsWidth;
    for (Button& button : buttons_) {
      button.area = {x, height - kMargin - kButtonHeight, x + kButtonWidth, height - kMargin};
      x += kButtonWidth + 10;
    }
    return {0, 0, width, height};
  }

  void Draw() {
    const Rect size = Layout();
    Bitmap image(size.right, size.bottom, Premultiply(kFace));
    Canvas canvas(image);
    TextStyle style;
    style.size = kTextSize;
    style.align = TextStyle::kLeft;
    if (HasIcon()) {
      const bool error = style_ == GraphicsBackEnd::kOkError;
      const double centre = kMargin + kIconSize / 2.0;
      canvas.FillCircle(centre, centre, kIconSize / 2.0,
                        error ? Color{255, 200, 40, 40} : Color{255, 40, 100, 200});
      TextStyle mark = style;
      mark.size = 22;
      mark.weight = TextStyle::kBold;
      mark.align = TextStyle::kCenter;
      mark.color = Color{255, 255, 255, 255};
      canvas.DrawText(error ? "!" : "i", mark,
                      {kMargin, kMargin + 5, kMargin + kIconSize, kMargin + 27});
    }
    int top = kMargin;
    for (const std::string& line : lines_) {
      canvas.DrawText(line, style, {textLeft_, top, size.right - kMargin, top + kTextSize});
      top += kLineHeight;
    }
    style.align = TextStyle::kCenter;
    for (size_t i = 0; i < buttons_.size(); ++i) {
      const Button& button = buttons_[i];
      canvas.FillRect(button.area, i == pressed_ ? kFrame : kButtonFace);
      canvas.FrameRect(button.area, i == focused_ ? kHighlight : kFrame);
      const int textTop = (button.area.top + button.area.bottom - kTextSize) / 2;
      canvas.DrawText(button.text, style,
                      {button.area.left, textTop, button.area.right, textTop + kTextSize});
    }
    owner_.PutBitmap(window_, image, 0, 0);
  }

  size_t ButtonAt(int x, int y) const {
    for (size_t i = 0; i < buttons_.size(); ++i) {
      if (buttons_[i].area.Contains(x, y)) return i;
    }
    return kNone;
  }

  void HandleKey(XKeyEvent& event) {
    const KeySym key = owner_.KeyOf(event);
    switch (key) {
      case XK_Return:
      case XK_KP_Enter:
      case XK_space:
        answer_ = buttons_[focused_].answer;
        break;
      case XK_Escape:
        answer_ = dismissal_;
        break;
      case XK_Tab:
      case XK_Left:
      case XK_Right:
        focused_ = (focused_ + 1) % buttons_.size();
        Draw();
        break;
      default:
        break;
    }
  }

  void Handle(XEvent& event) {
    if (event.xany.window != window_) return;  // the editor's input waits
    switch (event.type) {
      case Expose:
        if (event.xexpose.count == 0) Draw();
        break;
      case MapNotify:
        x_.SetInputFocus(owner_.GetDisplay(), window_, RevertToParent, CurrentTime);
        break;
      case ButtonPress:
        pressed_ = ButtonAt(event.xbutton.x, event.xbutton.y);
        Draw();
        break;
      case ButtonRelease:
        if (pressed_ != kNone && pressed_ == ButtonAt(event.xbutton.x, event.xbutton.y)) {
          answer_ = buttons_[pressed_].answer;
        }
        pressed_ = kNone;
        Draw();
        break;
      case KeyPress:
        HandleKey(event.xkey);
        break;
      case ClientMessage:
        if (static_cast<Atom>(event.xclient.data.l[0]) == closing_) answer_ = dismissal_;
        break;
      case DestroyNotify:
        window_ = 0;
        answer_ = dismissal_;
        break;
      default:
        break;
    }
  }

  static constexpr size_t kNone = static_cast<size_t>(-1);

  X11Window& owner_;
  const Xlib& x_;
  std::vector<std::string> lines_;
  GraphicsBackEnd::MessageStyle style_;
  std::vector<Button> buttons_;
  MessageAnswer dismissal_ = GraphicsBackEnd::kAnswerOk;
  std::optional<MessageAnswer> answer_;
  Window window_ = 0;
  Atom closing_ = 0;
  int textLeft_ = kMargin;
  size_t focused_ = 0;
  size_t pressed_ = kNone;
};

}  // namespace

GraphicsBackEnd::MessageAnswer RunMessageBox(X11Window& owner, const std::string& text,
                                             const std::string& caption,
                                             GraphicsBackEnd::MessageStyle style) {
  MessageBox box(owner, text, style);
  return box.Run(caption);
}
