#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads at most `limit` bytes from the start of a file; false when it cannot be opened
// or read.
bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes);

// Replaces the file with `bytes` in one write; false when creating, writing or closing
// fails (a full disk among them).
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
