#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "programs/TapeReadSettings.h"

// The data stream of a tape recording (leading bytes, memory image, trailing byte), or
// why none could be read (`error` empty on success).
struct TapeDecodeResult {
  std::vector<uint8_t> stream;
  std::string error;
};

// Decodes a WAV recording held in memory. Touches nothing but its own buffers.
TapeDecodeResult DecodeTape(const uint8_t* data, std::size_t size,
                            const TapeReadSettings& settings);

// Reads the file at `path` (its first GiB) and decodes it as above.
TapeDecodeResult DecodeTapeFile(const std::string& path, const TapeReadSettings& settings);
