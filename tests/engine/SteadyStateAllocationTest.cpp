// Rendering must not touch the heap once warmed up: counts every allocation of this
// test program while a flag is up.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/engine/PlayingPlug.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<int> allocations{0};

void* Allocate(std::size_t size) {
  if (counting.load()) ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}

TEST(SteadyState, RenderingAllocatesNothing) {
  PlayingPlug p(48000.0, 256);
  p.Set(kChorus, 0.5);
  p.Set(kGodMode, 1);
  p.NoteOn(60);
  p.Render(4800);  // warm-up

  std::vector<double> left(256), right(256);
  double* outputs[] = {left.data(), right.data()};
  counting = true;
  allocations = 0;
  for (int block = 0; block < 200; ++block) {
    const int key = 40 + block % 40;
    p.NoteOn(key, 100, block % 256);
    p.Send(block % 200, 0xB0, 1, block % 128);  // mod wheel
    p.Send(block % 100, 0xE0, 0, block % 128);  // pitch bend
    p.Send(0, 0xB0, 64, block % 2 ? 127 : 0);   // sustain
    if (block % 3 == 0) p.NoteOff(key - 3, 17);
    p.plug.RenderBlock(nullptr, outputs, block % 5 == 0 ? 37 : 256);
  }
  counting = false;
  EXPECT_EQ(allocations.load(), 0);
}
