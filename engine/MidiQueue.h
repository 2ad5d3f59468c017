#pragma once

#include <cstddef>
#include <vector>

#include "host/MidiMessage.h"

// Incoming MIDI messages in ascending offset order, equal offsets in arrival order.
// Storage grows only when full, so the audio thread normally never allocates; a message
// is dropped only when memory runs out.
class MidiQueue {
 public:
  explicit MidiQueue(int capacity = 1024);

  // Inserts behind every message with the same or a smaller offset. False when the
  // queue was full and could not grow.
  bool Add(const MidiMessage& message);
  // Room for at least `capacity` messages, never fewer than are waiting. A failed
  // growth keeps the old storage.
  void Resize(int capacity);

  int Size() const { return size_ - readPosition_; }
  bool Empty() const { return Size() == 0; }
  int Capacity() const { return static_cast<int>(storage_.size()); }
  void Clear() { size_ = readPosition_ = 0; }

  // Reading: the message at the read position, then advance past it.
  const MidiMessage& Peek() const { return storage_[static_cast<size_t>(readPosition_)]; }
  void Advance() { ++readPosition_; }
  // Removes the messages before the read position and moves the rest's offsets back
  // by `period` samples.
  void Compact(int period);

 private:
  std::vector<MidiMessage> storage_;
  int size_ = 0;
  int readPosition_ = 0;
};
