#pragma once

#include <cstdio>
#include <string>

// Files named by UTF-8 paths on every system, so names beyond ASCII (chosen in a file
// dialog, or the user's own folder) reach the file itself: Windows' narrow calls would
// read them in the local code page.
std::FILE* OpenFile(const std::string& path, const char* mode);
bool RemoveFile(const std::string& path);
