#include "programs/WholeFile.h"

#include <cstdio>

#include "platform/FileReplacement.h"

bool ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
  if (path.empty()) return false;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::vector<uint8_t> content;
  uint8_t block[65536];
  bool good = true;
  for (;;) {
    const size_t got = std::fread(block, 1, sizeof block, file);
    if (content.size() + got > limit) {
      good = false;
      break;
    }
    content.insert(content.end(), block, block + got);
    if (got < sizeof block) {
      good = std::ferror(file) == 0;
      break;
    }
  }
  std::fclose(file);
  if (good) bytes.swap(content);
  return good;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (path.empty()) return false;
  const std::string temporary = path + ".tmp";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fflush(file) == 0 && written;
  written = std::fclose(file) == 0 && written;
  if (written && ReplaceFile(temporary, path)) return true;
  std::remove(temporary.c_str());
  return false;
}
