#pragma once

#include <string>

// The folder of a file path: the text before the last "\" or "/", keeping the root's
// separator ("C:\b.fxb" gives "C:\", "/b.fxb" gives "/"). Empty for a bare file name.
std::string FolderOfFile(const std::string& path);
