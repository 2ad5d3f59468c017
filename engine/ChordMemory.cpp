#include "engine/ChordMemory.h"

#include <algorithm>

ChordNotes ChordFromKeys(std::vector<int> keys) {
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  ChordNotes chord;
  for (size_t i = 1; i < keys.size(); ++i) chord.push_back(keys[i] - keys.front());
  return chord;
}
