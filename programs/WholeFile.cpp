#include "programs/WholeFile.h"

#include <algorithm>
#include <cstdio>
#include <new>

bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
  if (path.empty() || limit == 0) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  // Grows with what is there: a generous limit costs nothing for a small file.
  bool failed = false;
  try {
    bytes.clear();
    uint8_t block[65536];
    while (bytes.size() < limit) {
      const size_t count = std::fread(block, 1, std::min(sizeof block, limit - bytes.size()), file);
      if (count == 0) break;
      bytes.insert(bytes.end(), block, block + count);
    }
    failed = std::ferror(file) != 0;
  } catch (const std::bad_alloc&) {
    failed = true;
  }
  std::fclose(file);
  return !failed;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (path.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}
