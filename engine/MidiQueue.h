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
  // Adds `delta` to the offset of every waiting message.
  void Shift(int delta);
  // Moves the waiting messages with an offset below `before` that `wanted` accepts into
  // `target`; the others keep their order here.
  template <typename Predicate>
  void MoveBefore(int before, Predicate wanted, MidiQueue& target);

 private:
  std::vector<MidiMessage> storage_;
  int size_ = 0;
  int readPosition_ = 0;
};

template <typename Predicate>
void MidiQueue::MoveBefore(int before, Predicate wanted, MidiQueue& target) {
  int kept = readPosition_;
  for (int i = readPosition_; i < size_; ++i) {
    const MidiMessage& message = storage_[static_cast<size_t>(i)];
    if (message.offset < before && wanted(message)) {
      target.Add(message);
    } else {
      storage_[static_cast<size_t>(kept++)] = message;
    }
  }
  size_ = kept;
}
