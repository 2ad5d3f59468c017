#pragma once

// Buttons and keys held with a mouse event.
struct MouseModifiers {
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
};
