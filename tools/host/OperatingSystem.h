#pragma once

#include <string>
#include <vector>

// What the renderer needs from the operating system, for POSIX systems and Windows.

// Opens the shared library at `path` (the file named, never one found on a search path);
// null, with `error` telling why, when it cannot.
void* OpenLibrary(const std::string& path, std::string& error);
void* LibrarySymbol(void* library, const char* name);
void CloseLibrary(void* library);

// The folder part of `path`, "." for a bare file name, and `name` within `folder`.
std::string FolderOf(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);
bool IsReadableFile(const std::string& path);

// The folder holding this program, and the folders plug-ins are installed in.
std::string ProgramFolder();
std::vector<std::string> PluginFolders();

// Whether standard error is a terminal, where a progress line can be redrawn.
bool StderrIsTerminal();
