#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/MidiMessage.h"

// Collects a hardware dump arriving as SysEx events on the audio thread, into a buffer
// sized once for the largest dump, so taking bytes never allocates. A dump may come in
// one event or in pieces; SysEx for other instruments is passed over.
class SysExReceiver {
 public:
  SysExReceiver();

  void Take(const SysExMessage& message);
  // A dump ended with 0xF7 is waiting to be read.
  bool Complete() const { return complete_; }
  const uint8_t* Data() const { return buffer_.data(); }
  size_t Size() const { return size_; }
  void Clear();

 private:
  std::vector<uint8_t> buffer_;
  size_t size_ = 0;
  bool collecting_ = false;
  bool complete_ = false;
};
