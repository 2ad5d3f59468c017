#pragma once

// The modulation generator: a triangle/sine LFO ticked at control rate, with a delay
// level that rises from 0 to 1 after a note restarts it.
class ModulationGenerator {
 public:
  void SetIncrement(double increment) { increment_ = increment; }
  // One control tick: waveforms from the current phase, then the phase advances.
  void Tick();
  // Raises the delay level by the increment, up to 1 (delay over).
  void AdvanceDelay(double increment);

  void RestartDelay() { delay_ = 0.0; }
  void EndDelay() { delay_ = 1.0; }
  void CentrePhase() { phase_ = 0.5; }

  double Triangle() const { return triangle_; }  // -1..1
  double Sine() const { return sine_; }
  double Delay() const { return delay_; }
  double Phase() const { return phase_; }

 private:
  double phase_ = 0.0;  // -1..1
  double triangle_ = 0.0;
  double sine_ = 0.0;
  double increment_ = 0.0;
  double delay_ = 1.0;
};
