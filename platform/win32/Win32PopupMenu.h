#pragma once

#include <windows.h>

class PopupMenu;

// Shows the menu tree (its ids assigned) at screen point `at`, owned by `owner`, and
// waits: the chosen entry's id, or -1 when the menu was dismissed.
int TrackWin32PopupMenu(const PopupMenu& menu, HWND owner, POINT at);
