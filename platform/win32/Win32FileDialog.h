#pragma once

#include <windows.h>

#include <string>

#include "editor/GraphicsBackEnd.h"

// The system's open or save dialog, owned by `owner`: the chosen file's full path (for
// kChooseFolder the chosen folder), or empty when cancelled.
std::string RunWin32FileDialog(const GraphicsBackEnd::FileRequest& request, HWND owner);
