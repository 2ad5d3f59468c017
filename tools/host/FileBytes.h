#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The whole content of a file no larger than `limit` bytes; throws RenderError naming the
// file when it is missing, unreadable or too large.
std::vector<uint8_t> ReadFileBytes(const std::string& path, std::size_t limit);

// Writes `bytes` as the whole file; throws RenderError when it cannot.
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
