#include "engine/ParameterNumbers.h"

namespace {

// Items first..last of a group select parameters from `parameter` on.
struct NumberRun {
  int group;
  int first;
  int last;
  int parameter;
};

constexpr NumberRun kRuns[] = {
    {1, 1, 8, 5},  {2, 1, 7, 13}, {3, 1, 3, 20}, {4, 1, 6, 23}, {4, 8, 8, 29},
    {5, 1, 6, 30}, {6, 1, 6, 36}, {7, 1, 6, 42}, {8, 1, 4, 48}, {8, 6, 8, 52},
};

}  // namespace

int ParameterOfNumber(int group, int item) {
  for (const NumberRun& run : kRuns) {
    if (run.group == group && item >= run.first && item <= run.last) {
      return run.parameter + item - run.first;
    }
  }
  return -1;
}

bool NumberOfParameter(int parameter, int& group, int& item) {
  for (const NumberRun& run : kRuns) {
    const int offset = parameter - run.parameter;
    if (offset >= 0 && offset <= run.last - run.first) {
      group = run.group;
      item = run.first + offset;
      return true;
    }
  }
  return false;
}
