#pragma once

#include <windows.h>

#include <string>

// The clipboard's Unicode text, or empty when it holds none (or another program has it
// open).
std::wstring ClipboardText(HWND owner);
