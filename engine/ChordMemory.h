#pragma once

#include <vector>

#include "engine/Sequence.h"

// The chord the chord memory stores for a set of keys: the intervals of the other keys
// above the lowest. Duplicates count once; fewer than two different keys give no chord.
ChordNotes ChordFromKeys(std::vector<int> keys);
