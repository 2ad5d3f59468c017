#include "programs/WholeFile.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "platform/FileAccess.h"
#include "platform/FileReplacement.h"

// Grows with what is there: a generous limit costs nothing for a small file.
bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
  if (path.empty() || limit == 0) return false;
  std::FILE* file = OpenFile(path, "rb");
  if (!file) return false;
  std::vector<uint8_t> content;
  bool failed = false;
  try {
    uint8_t block[65536];
    while (content.size() < limit) {
      const size_t count =
          std::fread(block, 1, std::min(sizeof block, limit - content.size()), file);
      if (count == 0) break;
      content.insert(content.end(), block, block + count);
    }
    failed = std::ferror(file) != 0;
  } catch (const std::bad_alloc&) {
    failed = true;
  }
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
  std::FILE* file = OpenFile(temporary, "wb");
  if (!file) return false;
  bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fflush(file) == 0 && written;
  written = std::fclose(file) == 0 && written;
  if (written && MoveFileOver(temporary, path)) return true;
  RemoveFile(temporary);
  return false;
}
