#pragma once

#include "editor/ISwitchControl.h"

// A switch meant for momentary buttons; the buttons themselves return to rest on release.
class IContactControl : public ISwitchControl {
 public:
  using ISwitchControl::ISwitchControl;
};
