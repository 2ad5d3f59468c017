#pragma once

// Where a voice asks for the pitch of a key: plain key * 128, or a retuned pitch
// when a microtuning master is present. Implemented by the plug-in object.
class KeyPitchSource {
 public:
  virtual double PitchIndexForKey(int key) const = 0;

 protected:
  ~KeyPitchSource() = default;
};
