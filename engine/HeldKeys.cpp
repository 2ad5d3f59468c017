#include "engine/HeldKeys.h"

void HeldKeys::Press(int key, int velocity) {
  if (!InRange(key)) return;
  if (velocities_[Slot(key)] == kNotHeld) ++count_;
  velocities_[Slot(key)] = velocity;
}

void HeldKeys::Lift(int key) {
  if (!Contains(key)) return;
  velocities_[Slot(key)] = kNotHeld;
  --count_;
}

void HeldKeys::Clear() {
  velocities_.fill(kNotHeld);
  count_ = 0;
}

int HeldKeys::First() const {
  for (int key = 0; key < kKeyCount && count_ > 0; ++key) {
    if (velocities_[Slot(key)] != kNotHeld) return key;
  }
  return -1;
}
