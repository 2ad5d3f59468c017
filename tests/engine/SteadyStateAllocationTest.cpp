// Rendering must not touch the heap once warmed up: counts every allocation of this
// test program while a flag is up.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "programs/SysEx.h"
#include "tests/engine/PlayingPlug.h"
#include "tests/host/TestHost.h"

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

// A hardware dump played into the plug-in's track arrives in pieces between blocks; taking
// it costs no allocation, and it is applied on the next idle call, a broken one never.
TEST(SteadyState, LiveSysExDumpsArriveWithoutAllocating) {
  TestHost host;
  ActiveHost activate{&host};
  Tarsyn7 plug(&TestHost::Callback);
  AEffect* effect = plug.Effect();
  effect->dispatcher(effect, effSetBlockSize, 0, 256, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  HardwareDataImage image = plug.BankAsHardwareImage(HardwareLayout::kPoly800);
  ParameterValues values{};
  values[kVcfCutoff] = 42;
  image.SetProgram(3, HardwareProgramRecord::FromValues(values, HardwareLayout::kPoly800));
  const std::vector<uint8_t> good = BuildSysExDump(kEx800, image);
  std::vector<uint8_t> broken = good;
  broken[1000] ^= 1;

  std::vector<float> left(256), right(256);
  float* outputs[] = {left.data(), right.data()};
  // Counts the allocations while the dump arrives, then gives the idle call.
  auto play = [&](const std::vector<uint8_t>& dump) {
    allocations = 0;
    counting = true;
    for (size_t start = 0; start < dump.size(); start += 1000) {
      VstMidiSysexEvent event{};
      event.type = kVstSysExType;
      event.byteSize = sizeof event;
      event.dumpBytes = static_cast<int32_t>(std::min<size_t>(1000, dump.size() - start));
      event.sysexDump = reinterpret_cast<char*>(const_cast<uint8_t*>(dump.data() + start));
      VstEvents list{1, 0, {reinterpret_cast<VstEvent*>(&event), nullptr}};
      effect->dispatcher(effect, effProcessEvents, 0, 0, &list, 0.0f);
      effect->processReplacing(effect, nullptr, outputs, 256);
    }
    counting = false;
    effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
    return allocations.load();
  };
  auto cutoffOfSlot3 = [&] {
    StateRecord record;
    ParseStateRecord(plug.GetPreset(3)->state, 0, record, false, false);
    return record.values[kVcfCutoff];
  };
  const double before = cutoffOfSlot3();
  ASSERT_NE(before, 42.0);
  EXPECT_EQ(play(broken), 0);
  EXPECT_EQ(cutoffOfSlot3(), before) << "a broken dump changes nothing";
  EXPECT_EQ(play(good), 0);
  EXPECT_EQ(cutoffOfSlot3(), 42.0);

  // The other way: the bank leaves as one dump at the start of the next block.
  ASSERT_TRUE(plug.QueueSysExBank(kPoly800II));
  effect->processReplacing(effect, nullptr, outputs, 256);
  effect->processReplacing(effect, nullptr, outputs, 256);
  ASSERT_EQ(host.sent.size(), 1u);
  EXPECT_EQ(host.sent[0].bytes,
            BuildSysExDump(kPoly800II, plug.BankAsHardwareImage(HardwareLayout::kPoly800II)));
}
