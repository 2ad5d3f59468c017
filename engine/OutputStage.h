#pragma once

#include "engine/Chorus.h"
#include "engine/Filter.h"

// Last per-sample step of the engine: output gain, the optional bass cut
// ("Brightness") and the chorus, which spreads the mono sum onto two channels.
class OutputStage {
 public:
  OutputStage();  // set up for 44100 Hz

  void SetSampleRate(double rate);

  // "Volume" (normalised) and "Gain Boost" together make the output gain.
  void SetVolume(double volume);
  void SetGainBoost(bool on);
  void SetBrightness(bool on) { brightness_ = on; }
  void SetChorusOn(bool on) { chorusOn_ = on; }
  void SetStereoChorus(bool on) { stereoChorus_ = on; }

  // The block processor ticks its LFO; parameter changes set base, depth and rate.
  Chorus& GetChorus() { return chorus_; }

  // m is the mono sum after the filter section; gain and bass cut apply only when
  // that section ran, so a silent engine still drains the chorus line.
  void Process(double m, bool filterRan, double& left, double& right);

 private:
  void UpdateOutputGain();

  double volume_ = 0.0;
  bool gainBoost_ = false;
  double outputGain_ = 0.0;
  bool brightness_ = false;
  bool chorusOn_ = false;
  bool stereoChorus_ = false;
  HighPass bassCut_;
  Chorus chorus_;
};
