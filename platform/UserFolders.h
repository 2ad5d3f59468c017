#pragma once

#include <string>

// The per-user folders the plug-in keeps its files in. Both answer an empty text when
// the system cannot name the folder. Neither ends with a separator.
std::string LocalAppDataFolder();
std::string DocumentsFolder();

// The separator between a folder and a name inside it.
char PathSeparator();
