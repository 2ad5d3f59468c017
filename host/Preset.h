#pragma once

#include <string>

#include "programs/ChunkBuffer.h"

// One program slot: a stored state record and its name.
struct Preset {
  static constexpr int kMaxNameLength = 255;

  bool initialised = false;
  std::string name = "empty";
  ChunkBuffer state;

  void SetName(const std::string& text) { name = text.substr(0, kMaxNameLength); }
};
