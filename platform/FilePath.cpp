#include "platform/FilePath.h"

std::string FolderOfFile(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos) return {};
  const bool root = separator == 0 || (separator == 2 && path[1] == ':');
  return path.substr(0, root ? separator + 1 : separator);
}
