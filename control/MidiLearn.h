#pragma once

#include <array>
#include <cstddef>

// Binds MIDI controllers 0-119 to parameters. Armed learning waits for both halves, a
// controller and a parameter, in either order; forgetting needs only one of them.
class MidiLearn {
 public:
  static constexpr int kControllerCount = 120;

  MidiLearn() { map_.fill(-1); }

  // Arms (or disarms, when `on` is false) for learning or for forgetting; drops any
  // half captured so far.
  void Arm(bool on, bool forget);
  void Disarm() { Arm(false, false); }
  bool Armed() const { return armed_; }

  // Both answer true when the capture was taken (learning was armed).
  bool CaptureParameter(int parameter);
  bool CaptureController(int controller);

  // Parameter bound to a controller, or -1.
  int Target(int controller) const;
  void Bind(int controller, int parameter);
  const std::array<int, kControllerCount>& Map() const { return map_; }

 private:
  void Complete();
  void Unbind(int parameter);

  std::array<int, kControllerCount> map_;
  bool armed_ = false;
  bool forget_ = false;
  int controller_ = -1;
  int parameter_ = -1;
};
