#pragma once

// The engine constants of one calibration. The plug-in holds a legacy and a current
// record; "Legacy Mode" selects the active one.
struct ModelRecord {
  double mgPitchDepth = 0.0;      // pitch-index units
  double mgCutoffDepth = 0.0;     // pitch-index units
  double mgPhaseIncrement = 0.0;  // per control tick
  double mgDelayIncrement = 0.0;  // per control tick
  double mgDcoAmount = 0.0;
  double mgVcfAmount = 0.0;
  double chorusBase = 0.0;
  double chorusRate = 0.0;
  double chorusDepth = 0.0;
};
