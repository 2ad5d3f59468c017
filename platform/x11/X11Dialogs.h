#pragma once

#include <string>

#include "drawing/Color.h"
#include "editor/GraphicsBackEnd.h"

class PopupMenu;
class X11Window;

// The dialogs of the X11 editor window, each running its own short loop through
// X11Window::ModalTurn until the user answers or the editor's window goes away.

// The menu tree with its top-left corner at screen point (x, y): the chosen entry's id, or
// -1 when it was dismissed (Escape, a press outside).
int TrackMenu(X11Window& owner, const PopupMenu& menu, int x, int y);

GraphicsBackEnd::MessageAnswer RunMessageBox(X11Window& owner, const std::string& text,
                                             const std::string& caption,
                                             GraphicsBackEnd::MessageStyle style);

// zenity or kdialog, else a path typed into the editor window; empty when cancelled.
std::string RunFileDialog(X11Window& owner, const GraphicsBackEnd::FileRequest& request);

// The look the dialogs share.
namespace dialog_look {
constexpr int kTextSize = 14;
constexpr Color kFace{255, 242, 242, 242};
constexpr Color kFrame{255, 120, 120, 120};
constexpr Color kHighlight{255, 51, 120, 210};
constexpr Color kText{255, 0, 0, 0};
}  // namespace dialog_look
