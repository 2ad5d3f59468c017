#include "platform/FileReplacement.h"

#include <windows.h>

#include "platform/win32/WideText.h"

bool MoveFileOver(const std::string& from, const std::string& target) {
  return MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
