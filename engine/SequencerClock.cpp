#include "engine/SequencerClock.h"

#include <array>

namespace {

struct Division {
  const char* name;
  double quarters;
};

constexpr std::array<Division, SequencerClock::kDivisionCount> kDivisions = {{
    {"4/1", 16.0},  {"2/1.", 12.0},    {"2/1", 8.0},       {"1/1.", 6.0},     {"1/1", 4.0},
    {"1/2.", 3.0},  {"1/2", 2.0},      {"1/4.", 1.5},      {"1/2T", 4.0 / 3}, {"1/4", 1.0},
    {"1/8.", 0.75}, {"1/4T", 2.0 / 3}, {"1/8", 0.5},       {"1/16.", 0.375},  {"1/8T", 1.0 / 3},
    {"1/16", 0.25}, {"1/32.", 0.1875}, {"1/16T", 1.0 / 6}, {"1/32", 0.125},   {"1/64", 0.0625},
}};

// Tempos a host can mean; anything else is a broken time info.
constexpr double kSlowestTempo = 1.0;
constexpr double kFastestTempo = 1000.0;
constexpr double kSixteenthsPerQuarter = 4.0;
// PPQ positions this close below a grid line count as on it.
constexpr double kGridTolerance = 1e-9;

const Division& DivisionAt(int index) {
  return kDivisions[static_cast<size_t>(std::clamp(index, 0, SequencerClock::kDivisionCount - 1))];
}

bool UsablePosition(double position) {
  return std::isfinite(position) && position >= 0.0;
}

}  // namespace

double SequencerClock::DivisionQuarters(int index) {
  return DivisionAt(index).quarters;
}

const char* SequencerClock::DivisionName(int index) {
  return DivisionAt(index).name;
}

void SequencerClock::UpdateStepLength(double rate, double frequency, int division) {
  if (!(rate > 0.0)) rate = 44100.0;
  if (host_) {
    quarters_ = DivisionQuarters(division);
    samplesPerQuarter_ = 60.0 / tempo_ * rate;
    length_ = std::max(1.0, samplesPerQuarter_ * quarters_);
  } else {
    const double quarter = 60.0 / std::max(frequency, kSlowestTempo) * rate;
    length_ = std::max(1.0, quarter / kSixteenthsPerQuarter);
    target_ = length_;
  }
}

bool SequencerClock::TakeHostTempo(double bpm) {
  double tempo = kDefaultTempo;
  if (std::isfinite(bpm) && bpm >= kSlowestTempo && bpm <= kFastestTempo) {
    tempo = std::round(bpm * 1000.0) / 1000.0;
  }
  if (tempo == tempo_) return false;
  tempo_ = tempo;
  return true;
}

void SequencerClock::Restart() {
  counted_ = 0.0;
  target_ = 0.0;
}

void SequencerClock::AlignToHost(double ppq, double samplePosition, int covered) {
  double until = 0.0;
  if (UsablePosition(ppq)) {
    nextGrid_ = std::max(std::ceil(ppq / quarters_ - kGridTolerance), lastGrid_ + 1.0);
    until = (nextGrid_ * quarters_ - ppq) * samplesPerQuarter_;
  } else if (UsablePosition(samplePosition)) {
    const double past = std::fmod(samplePosition, length_);
    until = past > 0.0 ? length_ - past : 0.0;
  }
  until -= covered;
  untilStep_ = std::isfinite(until) ? std::clamp(until, 0.0, 2.0 * length_) : 0.0;
}
