#pragma once

#include <cstdint>

#include "programs/ChunkBuffer.h"

// The 8 bytes in front of every program chunk, bank chunk and file body: "tffp" and the
// header version.
struct ChunkHeader {
  static constexpr int32_t kMagic = 0x70666674;  // the bytes "tffp" read little-endian
  static constexpr int32_t kVersion = 65536;
  static constexpr int kSize = 8;
};

// Appends the header; answers false when the buffer could not grow.
bool WriteChunkHeader(ChunkBuffer& chunk);

// Reads the header at the start of `chunk`. Answers the position where the body begins
// (behind the header, or 0 when the chunk has none) and sets `version` (0 without a
// header); a header cut short answers a negative position.
int ReadChunkHeader(const ChunkBuffer& chunk, int32_t& version);
