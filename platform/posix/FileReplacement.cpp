#include "platform/FileReplacement.h"

#include <cstdio>

bool MoveFileOver(const std::string& from, const std::string& target) {
  return std::rename(from.c_str(), target.c_str()) == 0;
}
