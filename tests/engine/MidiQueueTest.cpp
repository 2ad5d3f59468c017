#include "engine/MidiQueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

MidiMessage At(int offset, uint8_t data1) {
  return {offset, 0x90, data1, 100};
}

std::vector<int> Drain(MidiQueue& queue) {
  std::vector<int> order;
  while (!queue.Empty()) {
    order.push_back(queue.Peek().data1);
    queue.Advance();
  }
  return order;
}

}  // namespace

TEST(MidiQueue, SortedByOffsetStableForEqualOffsets) {
  MidiQueue queue(4);
  queue.Add(At(10, 1));
  queue.Add(At(5, 2));
  queue.Add(At(10, 3));
  queue.Add(At(0, 4));
  queue.Add(At(5, 5));
  EXPECT_EQ(Drain(queue), (std::vector<int>{4, 2, 5, 1, 3}));
}

TEST(MidiQueue, GrowsInsteadOfDropping) {
  MidiQueue queue(2);
  for (int i = 0; i < 3000; ++i) ASSERT_TRUE(queue.Add(At(3000 - i, 0)));
  EXPECT_EQ(queue.Size(), 3000);
  queue.Resize(8);  // never below what is waiting
  EXPECT_GE(queue.Capacity(), 3000);
}

TEST(MidiQueue, CompactRemovesReadMessagesAndRebasesOffsets) {
  MidiQueue queue;
  queue.Add(At(3, 1));
  queue.Add(At(50, 2));
  queue.Add(At(100, 3));
  queue.Advance();
  queue.Compact(44);
  ASSERT_EQ(queue.Size(), 2);
  EXPECT_EQ(queue.Peek().offset, 6);
  queue.Add(At(6, 4));
  EXPECT_EQ(Drain(queue), (std::vector<int>{2, 4, 3}));
}
