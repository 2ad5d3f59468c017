#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads at most `limit` bytes from the start of a file; false when it cannot be opened
// or read.
bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes);

// Reads a whole file of at most `limit` bytes. False (and `bytes` unchanged) for an empty
// path, a file that cannot be opened or read, or one larger than the limit.
bool ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes);

// Writes `bytes` as the whole file: into a temporary file beside it, every write and the
// close checked, then moved over the target. A failure (a full disk, a missing folder)
// leaves the target as it was, removes the temporary file and answers false.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
