#include "engine/FootageMixes.h"

#include <cstddef>

#include "engine/SquareTables.h"

namespace {

constexpr uint32_t kTableMask = SquareTables::kLength - 1;

}  // namespace

bool FootageMixes::Key::operator==(const Key& other) const {
  if (count != other.count) return false;
  for (int f = 0; f < count; ++f) {
    if (tables[f] != other.tables[f] || gains[f] != other.gains[f]) return false;
  }
  return true;
}

FootageMixes::FootageMixes() {
  for (Slot& slot : slots_) slot.entries.resize(kMaxEntries);
}

FootageMixes::Handle FootageMixes::Find(const Key& key) {
  for (int s = 0; s < kSlots; ++s) {
    if (slots_[s].made && slots_[s].key == key) return HandleOf(s);
  }
  if (makesLeft_ == 0 || key.count < 1 || key.count > kFootageCount) return {};
  const int free = FreeSlot();
  if (free < 0) return {};
  --makesLeft_;
  Make(slots_[free], key);
  return HandleOf(free);
}

void FootageMixes::Use(const Handle& handle) {
  if (handle.Valid()) slots_[handle.slot].lastUse = block_;
}

void FootageMixes::NewBlock() {
  ++block_;
  makesLeft_ = kMakesPerBlock;
}

FootageMixes::Handle FootageMixes::HandleOf(int s) {
  Slot& slot = slots_[s];
  slot.lastUse = block_;
  return {slot.entries.data(), 17 - slot.key.count, s, &slot.generation, slot.generation};
}

// The slot used longest ago, provided that was before the last block.
int FootageMixes::FreeSlot() const {
  int oldest = -1;
  for (int s = 0; s < kSlots; ++s) {
    if (slots_[s].lastUse + 1 >= block_) continue;
    if (oldest < 0 || slots_[s].lastUse < slots_[oldest].lastUse) oldest = s;
  }
  return oldest;
}

// Footage f of `count` reads entry (k >> (count - 1 - f)) & 2047 of its table, since
// k = phase >> (17 - count) and the footage reads (phase >> (16 - f)) & 2047.
void FootageMixes::Make(Slot& slot, const Key& key) {
  const int count = key.count;
  for (int k = 0; k < (1 << (10 + count)); ++k) {
    double sum = 0.0;
    for (int f = 0; f < count; ++f) {
      sum +=
          key.tables[f][(static_cast<uint32_t>(k) >> (count - 1 - f)) & kTableMask] * key.gains[f];
    }
    slot.entries[static_cast<std::size_t>(k)] = sum;
  }
  slot.key = key;
  slot.made = true;
  ++slot.generation;  // handles to the slot's former mix no longer hold
}
