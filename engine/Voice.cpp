#include "engine/Voice.h"

void Voice::SetSampleRate(double rate) {
  sampleRate_ = rate;
  active_ = keyHeld_ = gate_ = sustained_ = false;
  key_ = kResetKey;
  notePitchIndex_ = kResetKey * 128.0;
  velocity_ = 0;
  startStamp_ = 0;
}

void Voice::ForceRelease() { keyHeld_ = gate_ = false; }
