#include "programs/HardwareSequence.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr uint8_t kEnd = 0;
constexpr uint8_t kRest = 1;
constexpr uint8_t kTie = 2;
constexpr uint8_t kLastNote = 0x80;
constexpr int kLowestNote = 24;
constexpr int kHighestNote = 127;
constexpr int kLowestInnerNote = kLowestNote + kTie + 1;  // 27: clear of 0-2 as a byte
constexpr int kOctave = 12;
constexpr int kVelocity = 100;

// Reads the notes of one step from `position`; answers the position behind its last
// note, or a negative position when the area ends or an end, rest or tie byte comes first.
int ReadNotes(const uint8_t* area, int size, int position, SequenceStep& step) {
  for (; position < size && area[position] > kTie; ++position) {
    const int note = (area[position] & 0x7F) + kLowestNote;
    if (note <= kHighestNote) step.notes.push_back({note, kVelocity});
    if (area[position] & kLastNote) return position + 1;
  }
  return -1;
}

int MoveIntoRange(int64_t note, int lowest) {
  if (note < lowest) note += (lowest - note + kOctave - 1) / kOctave * kOctave;
  if (note > kHighestNote) note -= (note - kHighestNote + kOctave - 1) / kOctave * kOctave;
  return static_cast<int>(note);
}

// The bytes of one step.
std::vector<uint8_t> StepBytes(const SequenceStep& step) {
  if (step.tie) return {kTie};
  if (step.notes.empty()) return {kRest};
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < step.notes.size(); ++i) {
    const bool last = i + 1 == step.notes.size();
    const int note = MoveIntoRange(step.notes[i].note, last ? kLowestNote : kLowestInnerNote);
    bytes.push_back(static_cast<uint8_t>((note - kLowestNote) | (last ? kLastNote : 0)));
  }
  return bytes;
}

}  // namespace

Sequence ReadHardwareSequence(const uint8_t* area, int size, int maxSteps) {
  Sequence sequence;
  int position = 0;
  while (position < size && static_cast<int>(sequence.size()) < maxSteps) {
    const uint8_t event = area[position];
    if (event == kEnd) break;
    SequenceStep step;
    step.tie = event == kTie;
    if (event == kRest || event == kTie) {
      ++position;
    } else {
      position = ReadNotes(area, size, position, step);
      if (position < 0) break;  // a step never finished is dropped
    }
    sequence.push_back(std::move(step));
  }
  return sequence;
}

void WriteHardwareSequence(const Sequence& sequence, uint8_t* area, int size) {
  std::fill(area, area + size, kEnd);
  int position = 0;
  for (const SequenceStep& step : sequence) {
    const std::vector<uint8_t> bytes = StepBytes(step);
    if (position + static_cast<int>(bytes.size()) > size) break;
    std::copy(bytes.begin(), bytes.end(), area + position);
    position += static_cast<int>(bytes.size());
  }
}
