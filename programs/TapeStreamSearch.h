#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The bytes between a tape's lead-in and lead-out, or why none were found (`error`
// empty on success).
struct TapeStreamResult {
  std::vector<uint8_t> stream;
  std::string error;
};

// Finds the data stream in a list of half-wave bits (see TapeBitDetector). A lead-out
// that comes before a complete stream, or an invalid frame inside the data, marks a
// false start: the search goes on behind it, so a second recording on the same tape or
// the true start after a damaged lead-in is found. A stream holding an invalid frame is
// never answered.
TapeStreamResult FindTapeStream(const std::vector<uint8_t>& bits);
