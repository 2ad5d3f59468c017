#pragma once

#include <string>

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
