#pragma once

#include <cstdint>
#include <vector>

#include "tools/host/MidiFile.h"

// Where the host's transport stands at one sample.
struct TransportPosition {
  double ppq = 0.0;       // quarter notes from the start
  double tempo = 120.0;   // beats per minute
  double barStart = 0.0;  // quarter-note position of the bar's first beat
  int numerator = 4;
  int denominator = 4;
};

// The song's time map at one sample rate: file ticks to samples through the tempo map,
// and back from samples to musical positions for the host's time info.
class Timeline {
 public:
  Timeline(const MidiFile& song, double sampleRate);

  // The sample an event at `tick` falls on (nearest).
  int64_t SampleOfTick(uint64_t tick) const;
  double PpqOfTick(uint64_t tick) const;
  double SecondsOfTick(uint64_t tick) const;
  TransportPosition PositionAt(int64_t sample) const;

 private:
  // A stretch of constant tempo.
  struct Segment {
    uint64_t tick;
    double seconds;
    double ppq;
    double secondsPerTick;
    double ppqPerTick;
    double tempo;
  };
  struct Meter {
    double ppq;
    int numerator;
    int denominator;
  };

  const Segment& SegmentOfTick(uint64_t tick) const;

  double sampleRate_;
  std::vector<Segment> segments_;  // the first starts at tick 0
  std::vector<Meter> meters_;      // the first starts at quarter 0
};
