#include "tools/host/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/host/RenderError.h"

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
  throw RenderError(path + ": " + what);
}

}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path, std::size_t limit) {
  File file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) Fail(path, std::strerror(errno));
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  for (;;) {
    const std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get());
    if (count == 0) break;
    if (bytes.size() + count > limit) Fail(path, "the file is too large");
    bytes.insert(bytes.end(), buffer, buffer + count);
  }
  if (std::ferror(file.get())) Fail(path, "cannot read the file");
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  File file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) Fail(path, std::strerror(errno));
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
      std::fclose(file.release()) != 0) {
    Fail(path, "cannot write the file");
  }
}
