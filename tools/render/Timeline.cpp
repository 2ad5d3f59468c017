#include "tools/render/Timeline.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMicroseconds = 1e-6;
// Keeps a position a hair before a bar line from counting in the previous bar.
constexpr double kRoundingSlack = 1e-9;

}  // namespace

Timeline::Timeline(const MidiFile& song, double sampleRate) : sampleRate_(sampleRate) {
  // Quarter-note files time ticks by the tempo; SMPTE files count seconds directly and
  // use the tempo only for the musical position.
  auto segmentFor = [&song](uint64_t tick, double seconds, double ppq, uint32_t tempo) {
    const double secondsPerQuarter = tempo * kMicroseconds;
    Segment segment{tick, seconds, ppq, 0.0, 0.0, 60.0 / secondsPerQuarter};
    if (song.ticksPerSecond > 0.0) {
      segment.secondsPerTick = 1.0 / song.ticksPerSecond;
      segment.ppqPerTick = segment.secondsPerTick / secondsPerQuarter;
    } else {
      segment.ppqPerTick = 1.0 / song.ticksPerQuarter;
      segment.secondsPerTick = secondsPerQuarter * segment.ppqPerTick;
    }
    return segment;
  };
  segments_.push_back(segmentFor(0, 0.0, 0.0, MidiFile::kDefaultTempo));
  for (const TempoChange& change : song.tempos) {
    const Segment& last = segments_.back();
    const double ticks = static_cast<double>(change.tick - last.tick);
    const Segment next =
        segmentFor(change.tick, last.seconds + ticks * last.secondsPerTick,
                   last.ppq + ticks * last.ppqPerTick, change.microsecondsPerQuarter);
    if (change.tick == last.tick) {
      segments_.back() = next;  // the later of two changes at one tick holds
    } else {
      segments_.push_back(next);
    }
  }

  meters_.push_back({0.0, 4, 4});
  for (const TimeSignatureChange& change : song.signatures) {
    const Meter meter{PpqOfTick(change.tick), change.numerator, change.denominator};
    if (meter.ppq <= meters_.back().ppq) {
      meters_.back() = meter;
    } else {
      meters_.push_back(meter);
    }
  }
}

const Timeline::Segment& Timeline::SegmentOfTick(uint64_t tick) const {
  const auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                      [](uint64_t t, const Segment& s) { return t < s.tick; });
  return *(after - 1);
}

double Timeline::SecondsOfTick(uint64_t tick) const {
  const Segment& segment = SegmentOfTick(tick);
  return segment.seconds + static_cast<double>(tick - segment.tick) * segment.secondsPerTick;
}

double Timeline::PpqOfTick(uint64_t tick) const {
  const Segment& segment = SegmentOfTick(tick);
  return segment.ppq + static_cast<double>(tick - segment.tick) * segment.ppqPerTick;
}

int64_t Timeline::SampleOfTick(uint64_t tick) const {
  return std::llround(SecondsOfTick(tick) * sampleRate_);
}

TransportPosition Timeline::PositionAt(int64_t sample) const {
  const double seconds = static_cast<double>(sample) / sampleRate_;
  const auto after =
      std::upper_bound(segments_.begin(), segments_.end(), seconds,
                       [](double s, const Segment& segment) { return s < segment.seconds; });
  const Segment& segment = *(after - 1);
  TransportPosition position;
  position.tempo = segment.tempo;
  position.ppq =
      segment.ppq + (seconds - segment.seconds) / segment.secondsPerTick * segment.ppqPerTick;

  const auto meterAfter =
      std::upper_bound(meters_.begin(), meters_.end(), position.ppq,
                       [](double ppq, const Meter& meter) { return ppq < meter.ppq; });
  const Meter& meter = *(meterAfter - 1);
  const double barLength = meter.numerator * 4.0 / meter.denominator;
  position.numerator = meter.numerator;
  position.denominator = meter.denominator;
  position.barStart =
      meter.ppq + std::floor((position.ppq - meter.ppq) / barLength + kRoundingSlack) * barLength;
  return position;
}
