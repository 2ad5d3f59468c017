#include "programs/WholeFile.h"

#include <cstdio>

bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
  if (path.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bytes.resize(limit);
  bytes.resize(std::fread(bytes.data(), 1, limit, file));
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return !failed;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (path.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}
