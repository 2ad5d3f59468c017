#include "engine/Lanes.h"

#include <atomic>

namespace {

bool AskProcessor() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("bmi2") != 0;
}

// Zero, so the narrow lanes, until the library's initialisation has asked.
const bool processorHasWideLanes = AskProcessor();
std::atomic<bool> wideAllowed{true};

}  // namespace

bool WideLanes() {
  return processorHasWideLanes && wideAllowed.load(std::memory_order_relaxed);
}

void AllowWideLanes(bool allowed) {
  wideAllowed.store(allowed, std::memory_order_relaxed);
}
