#pragma once

#include <string>
#include <vector>

// One audio input or output. `slot` is this pin's entry in the plug-in's pointer array:
// the buffer the engine reads or writes for it in the current block.
struct ChannelPin {
  bool connected = true;
  double** slot = nullptr;
  std::vector<double> scratch;
  std::string label;
};
