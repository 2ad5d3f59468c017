#include "engine/Lanes.h"

namespace {

bool AskProcessor() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}

// Zero, so the narrow lanes, until the library's initialisation has asked.
const bool wideLanes = AskProcessor();

}  // namespace

bool WideLanes() {
  return wideLanes;
}
