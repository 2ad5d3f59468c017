#include "engine/ModulationGenerator.h"

#include <cmath>

void ModulationGenerator::Tick() {
  constexpr double kPi = 3.14159265358979323846;
  triangle_ = 2.0 * std::fabs(phase_) - 1.0;
  sine_ = std::sin(kPi * phase_);
  phase_ += increment_;
  if (phase_ >= 1.0) phase_ -= 2.0;
}

void ModulationGenerator::AdvanceDelay(double increment) {
  if (delay_ >= 1.0) return;
  delay_ += increment;
  if (delay_ > 1.0) delay_ = 1.0;
}
