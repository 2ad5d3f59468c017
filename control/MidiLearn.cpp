#include "control/MidiLearn.h"

namespace {

constexpr int kLastParameter = 79;

bool IsController(int controller) {
  return controller >= 0 && controller < MidiLearn::kControllerCount;
}

}  // namespace

void MidiLearn::Arm(bool on, bool forget) {
  armed_ = on;
  forget_ = forget;
  controller_ = parameter_ = -1;
}

bool MidiLearn::CaptureParameter(int parameter) {
  if (!armed_ || parameter < 0 || parameter > kLastParameter) return false;
  parameter_ = parameter;
  Complete();
  return true;
}

bool MidiLearn::CaptureController(int controller) {
  if (!armed_ || !IsController(controller)) return false;
  controller_ = controller;
  Complete();
  return true;
}

int MidiLearn::Target(int controller) const {
  return IsController(controller) ? map_[static_cast<size_t>(controller)] : -1;
}

void MidiLearn::Bind(int controller, int parameter) {
  if (IsController(controller)) map_[static_cast<size_t>(controller)] = parameter;
}

bool MidiLearn::TakeChange() {
  const bool changed = changed_;
  changed_ = false;
  return changed;
}

void MidiLearn::Unbind(int parameter) {
  for (int& entry : map_) {
    if (entry == parameter) entry = -1;
  }
}

void MidiLearn::Complete() {
  if (!armed_) return;
  if (forget_ || (controller_ >= 0 && parameter_ >= 0)) changed_ = true;
  if (forget_) {
    if (controller_ >= 0) {
      Bind(controller_, -1);
    } else {
      Unbind(parameter_);
    }
    Disarm();
    return;
  }
  if (controller_ < 0 || parameter_ < 0) return;  // waits for the other half
  Unbind(parameter_);
  Bind(controller_, parameter_);
  Disarm();
}
