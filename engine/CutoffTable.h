#pragma once

#include <vector>

// Angular step per sample, 2 pi f / rate, of every pitch index: what a filter
// needs to place its cutoff, with the filter coefficients that follow from it alone.
// One table per plug-in object, shared by all its filters; rebuilt only when the
// sample rate changes.
class CutoffTable {
 public:
  // With c the angular step: g = c / (c + 2), a = (c - 2) / (c + 2) and g to the 4th.
  struct Coefficients {
    double g;
    double a;
    double g4;
  };

  CutoffTable();  // built for 44100 Hz

  // Refills the table unless it already holds `sampleRate`; a rate of 0 or
  // below is no rate and keeps the table as it is.
  void SetSampleRate(double sampleRate);

  double SampleRate() const { return sampleRate_; }

  // Angular step of a pitch index in 0..kPitchIndexMax.
  double operator[](int index) const { return steps_[index]; }
  const Coefficients& CoefficientsAt(int index) const { return coefficients_[index]; }

  // Largest pitch index below 62 Hz: the bottom of the legacy cutoff range.
  int Index62Hz() const { return index62Hz_; }

 private:
  void Fill();

  double sampleRate_ = 44100.0;
  std::vector<double> steps_;
  std::vector<Coefficients> coefficients_;
  int index62Hz_ = 0;
};
