#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "drawing/Canvas.h"
#include "drawing/Font.h"
#include "editor/PopupMenu.h"
#include "platform/x11/X11Dialogs.h"
#include "platform/x11/X11Window.h"

namespace {

constexpr int kItemHeight = 22;
constexpr int kSeparatorHeight = 9;
constexpr int kMarkColumn = 24;   // room for the check mark
constexpr int kArrowColumn = 24;  // room for a submenu's arrow
constexpr int kMinimumWidth = 120;
constexpr int kGrabTries = 25;
using namespace dialog_look;
constexpr Color kGrayed{255, 150, 150, 150};
constexpr Color kHighlightText{255, 255, 255, 255};

bool Selectable(const PopupMenuItem& item) {
  return item.Enabled() && !(item.flags & PopupMenuItem::kSeparator);
}

// One open menu of the tree, in a window of its own.
struct Level {
  const PopupMenu* menu = nullptr;
  Window window = 0;
  Rect bounds;              // screen pixels
  std::vector<Rect> items;  // window pixels
  int highlighted = -1;
};

class MenuTracker {
 public:
  explicit MenuTracker(X11Window& owner) : owner_(owner), x_(owner.X()) {}
  ~MenuTracker() {
    x_.UngrabPointer(owner_.GetDisplay(), CurrentTime);
    x_.UngrabKeyboard(owner_.GetDisplay(), CurrentTime);
    CloseFrom(0);
    x_.Flush(owner_.GetDisplay());
  }
  MenuTracker(const MenuTracker&) = delete;
  MenuTracker& operator=(const MenuTracker&) = delete;

  int Track(const PopupMenu& menu, int x, int y) {
    Open(menu, x, y, x);
    if (levels_.empty()) return -1;
    if (!Grab()) return -1;
    while (!done_ && !owner_.Gone()) {
      owner_.ModalTurn([this](XEvent& event) { Handle(event); }, -1, 100);
    }
    return chosen_;
  }

 private:
  // Pointer and keys come to the menu wherever they happen, so a press outside dismisses
  // it. A menu that cannot have them (another program holds them a while) is not shown.
  bool Grab() {
    Display* display = owner_.GetDisplay();
    const Window top = levels_[0].window;
    bool pointer = false, keyboard = false;
    for (int tries = 0; tries < kGrabTries && !(pointer && keyboard); ++tries) {
      if (tries > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      pointer = pointer || x_.GrabPointer(display, top, False,
                                          ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                          GrabModeAsync, GrabModeAsync, None, None,
                                          CurrentTime) == GrabSuccess;
      keyboard = keyboard || x_.GrabKeyboard(display, top, False, GrabModeAsync, GrabModeAsync,
                                             CurrentTime) == GrabSuccess;
    }
    return pointer && keyboard;
  }

  // Opens `menu` at (x, y), or left of `leftEdge` when it would leave the screen.
  void Open(const PopupMenu& menu, int x, int y, int leftEdge) {
    Level level;
    level.menu = &menu;
    int width = kMinimumWidth, height = 2;
    for (int i = 0; i < menu.ItemCount(); ++i) {
      const bool separator = menu.Item(i).flags & PopupMenuItem::kSeparator;
      const int itemHeight = separator ? kSeparatorHeight : kItemHeight;
      level.items.push_back({1, height - 1, 0, height - 1 + itemHeight});
      height += itemHeight;
      const double text = MeasureText(menu.ItemText(i), kTextSize, TextStyle::kNormal);
      width = std::max(width, kMarkColumn + static_cast<int>(text) + kArrowColumn + 2);
    }
    height += 2;
    for (Rect& item : level.items) item.right = width - 1;
    const Rect screen = owner_.ScreenSize();
    if (x + width > screen.right) x = std::max(leftEdge - width, 0);
    if (y + height > screen.bottom) y = std::max(screen.bottom - height, 0);
    level.bounds = {x, y, x + width, y + height};
    level.window = owner_.CreateTopWindow(level.bounds, true);
    if (!level.window) return;
    owner_.X().MapWindow(owner_.GetDisplay(), level.window);
    levels_.push_back(level);
    Draw(levels_.size() - 1);
  }

  void CloseFrom(size_t first) {
    while (levels_.size() > first) {
      x_.DestroyWindow(owner_.GetDisplay(), levels_.back().window);
      levels_.pop_back();
    }
  }

  void Draw(size_t index) {
    const Level& level = levels_[index];
    Bitmap image(level.bounds.Width(), level.bounds.Height(), Premultiply(kFace));
    Canvas canvas(image);
    canvas.FrameRect(image.Bounds(), kFrame);
    TextStyle style;
    style.size = kTextSize;
    style.align = TextStyle::kLeft;
    for (int i = 0; i < level.menu->ItemCount(); ++i) {
      const PopupMenuItem& item = level.menu->Item(i);
      const Rect& area = level.items[static_cast<size_t>(i)];
      const int middle = (area.top + area.bottom) / 2;
      if (item.flags & PopupMenuItem::kSeparator) {
        canvas.DrawLine(area.left + 4, middle, area.right - 5, middle, kFrame);
        continue;
      }
      const bool lit = i == level.highlighted;
      if (lit) canvas.FillRect(area, kHighlight);
      style.color = !item.Enabled() ? kGrayed : lit ? kHighlightText : kText;
      const int top = middle - kTextSize / 2;
      canvas.DrawText(level.menu->ItemText(i), style,
                      {area.left + kMarkColumn, top, area.right - kArrowColumn, top + kTextSize});
      if (item.flags & PopupMenuItem::kChecked) {
        canvas.DrawLine(area.left + 7, middle, area.left + 10, middle + 3, style.color);
        canvas.DrawLine(area.left + 10, middle + 3, area.left + 16, middle - 4, style.color);
      }
      if (item.submenu) {
        for (int row = -4; row <= 4; ++row) {
          const int x = area.right - 12;
          canvas.DrawLine(x, middle + row, x + 4 - std::abs(row), middle + row, style.color);
        }
      }
    }
    owner_.PutBitmap(level.window, image, 0, 0);
  }

  // The level and entry under screen point (x, y); false outside every open menu.
  bool Hit(int x, int y, size_t& index, int& item) const {
    for (size_t i = levels_.size(); i-- > 0;) {
      const Level& level = levels_[i];
      if (!level.bounds.Contains(x, y)) continue;
      index = i;
      item = -1;
      for (size_t k = 0; k < level.items.size(); ++k) {
        if (level.items[k].Contains(x - level.bounds.left, y - level.bounds.top)) {
          item = static_cast<int>(k);
        }
      }
      return true;
    }
    return false;
  }

  // Lights the entry and opens its submenu, closing what was open below it.
  void Highlight(size_t index, int item) {
    if (levels_[index].highlighted == item) return;
    CloseFrom(index + 1);
    levels_[index].highlighted = item;
    Draw(index);
    if (item < 0) return;
    const PopupMenuItem& entry = levels_[index].menu->Item(item);
    if (!entry.submenu || !entry.Enabled()) return;
    const Level& level = levels_[index];
    Open(*entry.submenu, level.bounds.right - 2,
         level.bounds.top + level.items[static_cast<size_t>(item)].top - 2, level.bounds.left + 2);
  }

  void Choose(size_t index, int item) {
    const PopupMenuItem& entry = levels_[index].menu->Item(item);
    if (!Selectable(entry)) return;
    if (entry.submenu) {
      if (levels_.size() == index + 1) {  // closed meanwhile (Left): open it again
        levels_[index].highlighted = -1;
        Highlight(index, item);
      }
      if (levels_.size() > index + 1) MoveHighlight(index + 1, 1);
      return;
    }
    chosen_ = levels_[index].menu->FirstId() + item;
    done_ = true;
  }

  // Up and down through the entries of a menu, skipping separators.
  void MoveHighlight(size_t index, int step) {
    const Level& level = levels_[index];
    const int count = level.menu->ItemCount();
    int item = level.highlighted;
    for (int tries = 0; tries < count; ++tries) {
      item = item < 0 ? (step > 0 ? 0 : count - 1) : (item + step + count) % count;
      if (!(level.menu->Item(item).flags & PopupMenuItem::kSeparator)) break;
    }
    if (count > 0) {
      CloseFrom(index + 1);
      levels_[index].highlighted = item;
      Draw(index);
    }
  }

  void HandleKey(XKeyEvent& event) {
    const KeySym key = owner_.KeyOf(event);
    const size_t deepest = levels_.size() - 1;
    const int item = levels_[deepest].highlighted;
    switch (key) {
      case XK_Escape:
      case XK_Left:
        if (deepest > 0) {
          CloseFrom(deepest);
        } else if (key == XK_Escape) {
          done_ = true;
        }
        break;
      case XK_Up:
      case XK_Down:
        MoveHighlight(deepest, key == XK_Up ? -1 : 1);
        break;
      case XK_Right:
      case XK_Return:
      case XK_KP_Enter:
      case XK_space:
        if (item >= 0) Choose(deepest, item);
        break;
      default:
        break;
    }
  }

  void Handle(XEvent& event) {
    size_t index = 0;
    int item = -1;
    switch (event.type) {
      case Expose:
        for (size_t i = 0; i < levels_.size(); ++i) {
          if (levels_[i].window == event.xexpose.window && event.xexpose.count == 0) Draw(i);
        }
        break;
      case MotionNotify:
        if (Hit(event.xmotion.x_root, event.xmotion.y_root, index, item) && item >= 0) {
          Highlight(index, item);
          armed_ = true;
        }
        break;
      case ButtonPress:
        if (!Hit(event.xbutton.x_root, event.xbutton.y_root, index, item)) {
          done_ = true;  // a press outside dismisses
        } else if (item >= 0) {
          Highlight(index, item);
          armed_ = true;
        }
        break;
      case ButtonRelease:
        // The release of the press that opened the menu chooses nothing unless the pointer
        // was dragged onto an entry.
        if (armed_ && Hit(event.xbutton.x_root, event.xbutton.y_root, index, item) && item >= 0 &&
            !levels_[index].menu->Item(item).submenu) {
          Choose(index, item);
        }
        break;
      case KeyPress:
        HandleKey(event.xkey);
        break;
      default:
        break;
    }
  }

  X11Window& owner_;
  const Xlib& x_;
  std::vector<Level> levels_;
  int chosen_ = -1;
  bool done_ = false;
  bool armed_ = false;
};

}  // namespace

int TrackMenu(X11Window& owner, const PopupMenu& menu, int x, int y) {
  MenuTracker tracker(owner);
  return tracker.Track(menu, x, y);
}
