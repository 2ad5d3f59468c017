#pragma once

#include <string>

// The name of a slot's initial program: "Program 1-1" for slot 0 up to "Program 8-8" for
// slot 63, by bank and number as the hardware counts them.
inline std::string InitialProgramName(int slot) {
  return "Program " + std::to_string(slot / 8 + 1) + "-" + std::to_string(slot % 8 + 1);
}
