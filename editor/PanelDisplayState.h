#pragma once

#include <array>
#include <cstdint>

// What the six-digit display shows: digits 1-2 PROGRAM NO., 3-4 PARAMETER NO., 5-6 VALUE.
// Digit codes 0-9 are numerals, then "-", "P", "C", "H"; -1 is dark. Point 1 follows
// digit 1, point 2 digit 3, point 3 digit 6.
struct PanelDisplayState {
  enum Code : int32_t { kDark = -1, kDash = 10, kP = 11, kC = 12, kH = 13, kS = 5 };

  std::array<int32_t, 6> digits{kDark, kDark, kDark, kDark, kDark, kDark};
  std::array<bool, 3> points{false, false, false};
  bool green = false;
};
