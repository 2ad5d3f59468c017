#pragma once

#include <array>
#include <cstddef>

// Entry k is the parameter bound to MIDI controller k, -1 when none.
using ControllerMap = std::array<int, 120>;

// Binds MIDI controllers 0-119 to parameters in a controller map it does not own (the
// configuration's). Armed learning waits for both halves, a controller and a parameter, in
// either order; forgetting needs only one of them.
class MidiLearn {
 public:
  static constexpr int kControllerCount = 120;

  explicit MidiLearn(ControllerMap& map) : map_(map) {}

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
  const ControllerMap& Map() const { return map_; }
  // True once after a learn or forget changed the map.
  bool TakeChange();

 private:
  void Complete();
  void Unbind(int parameter);

  ControllerMap& map_;
  bool armed_ = false;
  bool forget_ = false;
  int controller_ = -1;
  int parameter_ = -1;
  bool changed_ = false;
};
