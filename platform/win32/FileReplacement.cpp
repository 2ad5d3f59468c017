#include "platform/FileReplacement.h"

#include <windows.h>

bool MoveFileOver(const std::string& from, const std::string& target) {
  return MoveFileExA(from.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
