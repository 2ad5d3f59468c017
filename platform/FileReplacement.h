#pragma once

#include <string>

// Moves the finished file `from` over `target` in one step, replacing what was there: a
// reader sees either the old file or the new one, never a part of it. False when the
// system refused (`from` is then still there).
bool MoveFileOver(const std::string& from, const std::string& target);
