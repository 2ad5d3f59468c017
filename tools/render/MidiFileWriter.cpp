#include "tools/render/MidiFileWriter.h"

#include <algorithm>

#include "tools/host/FileBytes.h"

namespace {

constexpr uint32_t kLargestDelta = 0x0FFFFFFF;  // what four bytes of seven bits hold
constexpr uint8_t kTextEvent = 0x01;

struct TrackEntry {
  uint64_t tick;
  std::vector<uint8_t> bytes;  // everything after the delta time
};

void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value, int width) {
  for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
    out.push_back(static_cast<uint8_t>(value >> shift));
  }
}

void AppendVariableLength(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (count > 1) out.push_back(groups[--count] | 0x80);
  out.push_back(groups[0]);
}

std::vector<uint8_t> Meta(uint8_t type, std::vector<uint8_t> data) {
  std::vector<uint8_t> bytes = {0xFF, type};
  AppendVariableLength(bytes, static_cast<uint32_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  return bytes;
}

int Log2(int value) {
  int power = 0;
  while ((1 << (power + 1)) <= value) ++power;
  return power;
}

// SysEx dumps are written whole behind 0xF0; other bytes through the 0xF7 escape.
std::vector<uint8_t> EventBytes(const MidiEvent& event) {
  if (event.IsChannelMessage()) return event.bytes;
  const bool dump = event.bytes[0] == 0xF0;
  std::vector<uint8_t> bytes = {dump ? uint8_t{0xF0} : uint8_t{0xF7}};
  const auto body = event.bytes.begin() + (dump ? 1 : 0);
  AppendVariableLength(bytes, static_cast<uint32_t>(event.bytes.end() - body));
  bytes.insert(bytes.end(), body, event.bytes.end());
  return bytes;
}

std::vector<TrackEntry> TrackEntries(const MidiFile& song) {
  std::vector<TrackEntry> entries;
  for (const TempoChange& tempo : song.tempos) {
    const uint32_t t = tempo.microsecondsPerQuarter;
    entries.push_back(
        {tempo.tick, Meta(0x51, {static_cast<uint8_t>(t >> 16), static_cast<uint8_t>(t >> 8),
                                 static_cast<uint8_t>(t)})});
  }
  for (const TimeSignatureChange& signature : song.signatures) {
    entries.push_back(
        {signature.tick, Meta(0x58, {static_cast<uint8_t>(signature.numerator),
                                     static_cast<uint8_t>(Log2(signature.denominator)), 24, 8})});
  }
  for (const MidiEvent& event : song.events) {
    if (!event.bytes.empty()) entries.push_back({event.tick, EventBytes(event)});
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TrackEntry& a, const TrackEntry& b) { return a.tick < b.tick; });
  return entries;
}

}  // namespace

std::vector<uint8_t> EncodeMidiFile(const MidiFile& song) {
  std::vector<uint8_t> track;
  uint64_t tick = 0;
  const std::vector<uint8_t> bridge = Meta(kTextEvent, {});
  for (const TrackEntry& entry : TrackEntries(song)) {
    // A gap longer than one delta time can say is bridged by empty text events.
    uint64_t gap = entry.tick - tick;
    for (; gap > kLargestDelta; gap -= kLargestDelta) {
      AppendVariableLength(track, kLargestDelta);
      track.insert(track.end(), bridge.begin(), bridge.end());
    }
    AppendVariableLength(track, static_cast<uint32_t>(gap));
    track.insert(track.end(), entry.bytes.begin(), entry.bytes.end());
    tick = entry.tick;
  }
  AppendVariableLength(track, 0);
  const std::vector<uint8_t> end = Meta(0x2F, {});
  track.insert(track.end(), end.begin(), end.end());

  std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
  AppendBigEndian(file, 6, 4);
  AppendBigEndian(file, 0, 2);  // format 0
  AppendBigEndian(file, 1, 2);  // one track
  AppendBigEndian(file, static_cast<uint32_t>(song.ticksPerQuarter), 2);
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  AppendBigEndian(file, static_cast<uint32_t>(track.size()), 4);
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

void WriteMidiFile(const MidiFile& song, const std::string& path) {
  WriteFileBytes(path, EncodeMidiFile(song));
}
