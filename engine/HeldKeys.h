#pragma once

#include <array>
#include <cstddef>

// The keys currently held down with their velocities. Fixed storage: the audio thread
// presses and lifts keys without allocating. Keys outside 0..255 are never held.
class HeldKeys {
 public:
  static constexpr int kKeyCount = 256;

  HeldKeys() { velocities_.fill(kNotHeld); }

  void Press(int key, int velocity);
  void Lift(int key);
  void Clear();
  bool Contains(int key) const { return InRange(key) && velocities_[Slot(key)] != kNotHeld; }
  int Velocity(int key) const { return Contains(key) ? velocities_[Slot(key)] : 0; }
  int Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  // The lowest held key, or -1.
  int First() const;

 private:
  static constexpr int kNotHeld = -1;
  static bool InRange(int key) { return key >= 0 && key < kKeyCount; }
  static size_t Slot(int key) { return static_cast<size_t>(key); }

  std::array<int, kKeyCount> velocities_;
  int count_ = 0;
};
