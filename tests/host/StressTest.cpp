// Host threads at once: the audio callback renders while others automate parameters,
// switch programs and exchange chunks. Run under ThreadSanitizer by the test command.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "engine/Tarsyn7.h"
#include "tests/host/TestHost.h"

namespace {

constexpr auto kDuration = std::chrono::milliseconds(1500);
constexpr int kFrames = 96;

VstIntPtr Dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

// Notes on and off at changing offsets, the way a host hands them over before a block.
void SendNotes(AEffect* effect, int block) {
  VstMidiEvent events[2] = {};
  for (int i = 0; i < 2; ++i) {
    events[i].type = kVstMidiType;
    events[i].byteSize = sizeof(VstMidiEvent);
    events[i].deltaFrames = (block * 7 + i * 31) % kFrames;
    events[i].midiData[0] = static_cast<char>(i == 0 ? 0x90 : 0x80);
    events[i].midiData[1] = static_cast<char>(36 + (block + i * 5) % 48);
    events[i].midiData[2] = 100;
  }
  VstEvents list{
      2, 0, {reinterpret_cast<VstEvent*>(&events[0]), reinterpret_cast<VstEvent*>(&events[1])}};
  Dispatch(effect, effProcessEvents, 0, 0, &list);
}

bool AllFinite(const float* samples, int count) {
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(samples[i])) return false;
  }
  return true;
}

bool AllFinite(const double* samples, int count) {
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(samples[i])) return false;
  }
  return true;
}

}  // namespace

TEST(HostThreadsStress, RenderingStaysFiniteWhileOtherThreadsChangeEverything) {
  TestHost host;
  ActiveHost activate(&host);
  Tarsyn7 plug(&TestHost::Callback);
  AEffect* effect = plug.Effect();
  Dispatch(effect, effOpen);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(effect, effSetBlockSize, 0, kFrames);
  Dispatch(effect, effMainsChanged, 0, 1);

  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::atomic<int> nonFinite{0};
  std::atomic<int> chunkFailures{0};

  std::thread audio([&] {
    std::vector<float> left(kFrames), right(kFrames);
    std::vector<double> wideLeft(kFrames), wideRight(kFrames);
    float* outputs[] = {left.data(), right.data()};
    double* wide[] = {wideLeft.data(), wideRight.data()};
    for (int block = 0; !stop; ++block) {
      SendNotes(effect, block);
      if (block % 3 == 2) {
        effect->processDoubleReplacing(effect, nullptr, wide, kFrames);
        if (!AllFinite(wideLeft.data(), kFrames) || !AllFinite(wideRight.data(), kFrames)) {
          ++nonFinite;
        }
      } else {
        auto process = block % 3 == 0 ? effect->processReplacing : effect->process;
        process(effect, nullptr, outputs, kFrames);
        if (!AllFinite(left.data(), kFrames) || !AllFinite(right.data(), kFrames)) ++nonFinite;
      }
      ++blocks;
    }
  });
  std::thread automation([&] {
    std::mt19937 random(1);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    while (!stop) {
      const auto index = static_cast<int32_t>(random() % 80);
      effect->setParameter(effect, index, value(random));
      effect->getParameter(effect, index);
    }
  });
  std::thread programs([&] {
    std::mt19937 random(2);
    char name[kVstMaxProgramNameLength] = {};
    while (!stop) {
      Dispatch(effect, effSetProgram, 0, static_cast<VstIntPtr>(random() % 64));
      Dispatch(effect, effGetProgramNameIndexed, static_cast<int32_t>(random() % 64), 0, name);
      Dispatch(effect, effGetProgram);
    }
  });
  std::thread chunks([&] {
    for (int round = 0; !stop; ++round) {
      const int32_t index = round % 4 == 0 ? 0 : 1;
      void* data = nullptr;
      const VstIntPtr size = Dispatch(effect, effGetChunk, index, 0, &data);
      std::vector<uint8_t> copy(static_cast<const uint8_t*>(data),
                                static_cast<const uint8_t*>(data) + size);
      if (size <= 0 || Dispatch(effect, effSetChunk, index, size, copy.data()) != 1) {
        ++chunkFailures;
      }
    }
  });

  std::this_thread::sleep_for(kDuration);
  stop = true;
  for (std::thread* thread : {&audio, &automation, &programs, &chunks}) thread->join();

  EXPECT_GT(blocks.load(), 0);
  EXPECT_EQ(nonFinite.load(), 0);
  EXPECT_EQ(chunkFailures.load(), 0);
  Dispatch(effect, effMainsChanged, 0, 0);
}
