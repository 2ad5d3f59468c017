#include "editor/BitmapStrip.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDigitFrames = 15;

double UsableValue(double value) {
  return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

}  // namespace

Rect BitmapStrip::FrameRect(int frame) const {
  int index = std::clamp(frame, 1, std::max(frames, 1)) - 1;
  if (sideBySide) return {index * FrameWidth(), 0, (index + 1) * FrameWidth(), height};
  return {0, index * FrameHeight(), width, (index + 1) * FrameHeight()};
}

int FrameForValue(double value, int frames) {
  if (frames < 2) return 1;
  return static_cast<int>(std::lround((frames - 1) * UsableValue(value))) + 1;
}

int KnobFrameForValue(double value, int frames) {
  if (frames < 2) return 1;
  return static_cast<int>((frames - 1) * UsableValue(value) + 0.5) + 1;
}

int DigitFrame(int code) {
  return code >= 0 && code < kDigitFrames - 1 ? code + 1 : kDigitFrames;
}
