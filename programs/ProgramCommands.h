#pragma once

#include <string>

// Helpers of the program and bank commands; the commands themselves are operations of the
// plug-in (programs/ProgramCommands.cpp, programs/Banks.cpp).

// The file name "Save Program" proposes for a program: its first 63 characters, with
// every character no file system takes (< > : " / \ | ? * and control characters) and
// trailing dots and spaces replaced by "_", and a reserved device name ("CON", "NUL",
// "COM1", ...) given a "_" behind it. An empty name proposes "Tarsyn7".
std::string ProposedProgramFileName(const std::string& programName);
