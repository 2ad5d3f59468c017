#include "platform/FileAccess.h"

#include "platform/win32/WideText.h"

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return _wfopen(WideFromUtf8(path).c_str(), WideFromUtf8(mode).c_str());
}

bool RemoveFile(const std::string& path) {
  return _wremove(WideFromUtf8(path).c_str()) == 0;
}
