#include "engine/MidiQueue.h"

#include <algorithm>
#include <new>

MidiQueue::MidiQueue(int capacity) {
  Resize(capacity);
}

void MidiQueue::Resize(int capacity) {
  capacity = std::max(capacity, size_);
  if (capacity == Capacity()) return;
  try {
    std::vector<MidiMessage> larger(static_cast<size_t>(capacity));
    std::copy(storage_.begin(), storage_.begin() + size_, larger.begin());
    storage_.swap(larger);
  } catch (const std::bad_alloc&) {
  }
}

bool MidiQueue::Add(const MidiMessage& message) {
  if (size_ == Capacity()) Resize(std::max(2 * Capacity(), 16));
  if (size_ == Capacity()) return false;
  const auto begin = storage_.begin() + readPosition_;
  const auto end = storage_.begin() + size_;
  const auto place = std::upper_bound(
      begin, end, message,
      [](const MidiMessage& a, const MidiMessage& b) { return a.offset < b.offset; });
  std::move_backward(place, end, end + 1);
  *place = message;
  ++size_;
  return true;
}

void MidiQueue::Compact(int period) {
  const auto first = storage_.begin() + readPosition_;
  const auto last = storage_.begin() + size_;
  std::move(first, last, storage_.begin());
  size_ -= readPosition_;
  readPosition_ = 0;
  for (int i = 0; i < size_; ++i) storage_[static_cast<size_t>(i)].offset -= period;
}

void MidiQueue::Shift(int delta) {
  for (int i = readPosition_; i < size_; ++i) storage_[static_cast<size_t>(i)].offset += delta;
}
