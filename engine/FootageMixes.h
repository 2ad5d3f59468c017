#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Footage sums kept ready, so that an oscillator reads one table a sample instead of one
// per footage. For a set of footage tables and gains, entry k of a mix holds what
// DcoReader::Next adds up, in the same order, at every phase whose top 10 + count bits are
// k. A mix is made the first time an oscillator asks for it, a few per block at most; its
// slot goes to another mix only when no oscillator has used it in this block or the one
// before. An oscillator without a mix reads its footages: the sound is the same. One set
// per plug-in object, shared by its oscillators and used under the plug-in's lock.
class FootageMixes {
 public:
  static constexpr int kFootageCount = 4;
  static constexpr int kSlots = 32;
  static constexpr int kMakesPerBlock = 4;
  static constexpr int kMaxEntries = 1 << (10 + kFootageCount);

  // The footages an oscillator reads: the first `count` tables and gains.
  struct Key {
    int count = 0;
    std::array<const double*, kFootageCount> tables{};
    std::array<double, kFootageCount> gains{};
    bool operator==(const Key& other) const;
  };

  // A mix handed out; it holds while Valid says so.
  struct Handle {
    const double* entries = nullptr;
    int shift = 0;  // phase >> shift is the entry
    int slot = -1;
    const uint32_t* generation = nullptr;
    uint32_t issued = 0;  // the slot's generation when handed out
    bool Valid() const { return entries != nullptr && *generation == issued; }
  };

  FootageMixes();  // allocates every slot: nothing is allocated later

  // The mix of `key` (count 1 to 4): one already made, or one made now while this block's
  // making budget lasts and a slot is free; otherwise an invalid handle.
  Handle Find(const Key& key);
  // Keeps a handed-out mix from going to another for this block and the next.
  void Use(const Handle& handle);
  // Called at the start of every block.
  void NewBlock();
  uint64_t Block() const { return block_; }

 private:
  struct Slot {
    Key key;
    std::vector<double> entries;
    uint32_t generation = 0;
    uint64_t lastUse = 0;
    bool made = false;
  };

  Handle HandleOf(int slot);
  int FreeSlot() const;
  void Make(Slot& slot, const Key& key);

  std::array<Slot, kSlots> slots_;
  uint64_t block_ = 2;  // so that no slot counts as used at first
  int makesLeft_ = kMakesPerBlock;
};
