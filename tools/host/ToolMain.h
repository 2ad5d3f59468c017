#pragma once

#include <functional>

// The exit status and error conventions of the command-line programs: `run` answers the
// status; a UsageError prints "<program>: <what>" and a pointer to --help and gives 2,
// any other failure prints "<program>: <what>" and gives 1.
int RunTool(const char* program, const std::function<int()>& run);
