#include "programs/WholeFile.h"

#include <algorithm>
#include <cstdio>

#include "platform/FileReplacement.h"

// Memory grows with what the file holds, never with the limit asked for.
bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
  if (path.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::vector<uint8_t> content;
  uint8_t block[65536];
  size_t got = 0;
  do {
    const size_t wanted = std::min(sizeof block, limit - content.size());
    got = std::fread(block, 1, wanted, file);
    content.insert(content.end(), block, block + got);
  } while (got == sizeof block && content.size() < limit);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (!failed) bytes.swap(content);
  return !failed;
}

bool ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> content;
  if (!ReadFileStart(path, limit + 1, content) || content.size() > limit) return false;
  bytes.swap(content);
  return true;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (path.empty()) return false;
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fflush(file) == 0 && written;
  written = std::fclose(file) == 0 && written;
  if (written && MoveFileOver(temporary, path)) return true;
  std::remove(temporary.c_str());
  return false;
}
