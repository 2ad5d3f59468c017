#include "tools/render/MidiFileReader.h"

#include <algorithm>
#include <cstring>

#include "tools/host/ByteReader.h"
#include "tools/host/FileBytes.h"
#include "tools/host/RenderError.h"

namespace {

constexpr std::size_t kLargestFile = 64u << 20;
constexpr uint8_t kMetaEvent = 0xFF;
constexpr uint8_t kSysExStart = 0xF0;
constexpr uint8_t kSysExEscape = 0xF7;
constexpr uint8_t kEndOfTrack = 0x2F;
constexpr uint8_t kSetTempo = 0x51;
constexpr uint8_t kTimeSignature = 0x58;

int DataByteCount(uint8_t status) {
  const int group = status >> 4;
  return group == 0xC || group == 0xD ? 1 : 2;
}

std::string Hex(uint8_t byte) {
  static const char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[byte >> 4] + kDigits[byte & 0xF];
}

void ReadMeta(ByteReader& track, uint64_t tick, uint8_t type, const uint8_t* data, uint32_t length,
              MidiFile& file) {
  if (type == kSetTempo) {
    if (length != 3) track.Fail("a tempo event must hold 3 bytes");
    const uint32_t tempo = static_cast<uint32_t>(data[0] << 16 | data[1] << 8 | data[2]);
    if (tempo == 0) track.Fail("a tempo of zero microseconds per quarter note");
    file.tempos.push_back({tick, tempo});
  } else if (type == kTimeSignature) {
    if (length < 2) track.Fail("a time signature must hold at least 2 bytes");
    if (data[0] == 0 || data[1] > 7) track.Fail("an impossible time signature");
    file.signatures.push_back({tick, data[0], 1 << data[1]});
  }
}

// One track's events, in the order they come; running status carries over meta and
// SysEx events, as lenient readers do.
void ReadTrack(ByteReader& track, MidiFile& file) {
  uint64_t tick = 0;
  uint8_t running = 0;
  while (!track.AtEnd()) {
    tick += track.VariableLength("a delta time");
    uint8_t status = track.Peek("an event");
    if (status < 0x80) {
      if (!running) track.Fail("a data byte where a status byte belongs");
      status = running;
    } else {
      track.Byte("an event");
    }
    if (status == kMetaEvent) {
      const uint8_t type = track.Byte("a meta event");
      const uint32_t length = track.VariableLength("a meta event's length");
      const uint8_t* data = track.Take(length, "a meta event");
      if (type == kEndOfTrack) return;
      ReadMeta(track, tick, type, data, length, file);
      continue;
    }
    MidiEvent event;
    event.tick = tick;
    if (status == kSysExStart || status == kSysExEscape) {
      const uint32_t length = track.VariableLength("a SysEx event's length");
      const uint8_t* data = track.Take(length, "a SysEx event");
      if (status == kSysExStart) event.bytes.push_back(kSysExStart);
      event.bytes.insert(event.bytes.end(), data, data + length);
      if (!event.bytes.empty()) file.events.push_back(std::move(event));
      continue;
    }
    if (status >= 0xF0) track.Fail("status byte " + Hex(status) + " does not belong in a file");
    running = status;
    event.bytes.push_back(status);
    for (int i = 0; i < DataByteCount(status); ++i) {
      const uint8_t data = track.Byte("a channel message");
      if (data >= 0x80) track.Fail("a channel message is missing data bytes");
      event.bytes.push_back(data);
    }
    file.events.push_back(std::move(event));
  }
}

void ReadDivision(const ByteReader& header, uint16_t division, MidiFile& file) {
  if (division & 0x8000) {
    const int framesPerSecond = 256 - (division >> 8);
    const int ticksPerFrame = division & 0xFF;
    if (framesPerSecond != 24 && framesPerSecond != 25 && framesPerSecond != 29 &&
        framesPerSecond != 30) {
      header.Fail("an unknown SMPTE frame rate");
    }
    if (ticksPerFrame == 0) header.Fail("zero ticks per SMPTE frame");
    file.ticksPerSecond = (framesPerSecond == 29 ? 29.97 : framesPerSecond) * ticksPerFrame;
  } else {
    if (division == 0) header.Fail("zero ticks per quarter note");
    file.ticksPerQuarter = division;
  }
}

template <typename Change>
void SortByTick(std::vector<Change>& changes) {
  std::stable_sort(changes.begin(), changes.end(),
                   [](const Change& a, const Change& b) { return a.tick < b.tick; });
}

}  // namespace

MidiFile ParseMidiFile(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 4 || std::memcmp(bytes.data(), "MThd", 4) != 0) {
    throw RenderError("not a Standard MIDI File (it does not begin with \"MThd\")");
  }
  ByteReader file(bytes.data(), bytes.size(), "");
  file.Take(4, "the header");
  const uint32_t headerLength = file.BigEndian(4, "the header");
  if (headerLength < 6) file.Fail("the header is too short");
  ByteReader header(file.Take(headerLength, "the header"), headerLength, "header");
  MidiFile song;
  song.format = static_cast<int>(header.BigEndian(2, "the header"));
  const uint32_t trackCount = header.BigEndian(2, "the header");
  ReadDivision(header, static_cast<uint16_t>(header.BigEndian(2, "the header")), song);
  if (song.format == 2) header.Fail("format 2 (independent patterns) is not supported");
  if (song.format > 2) header.Fail("unknown format " + std::to_string(song.format));
  if (trackCount == 0) header.Fail("the file has no tracks");

  for (uint32_t found = 0; found < trackCount;) {
    if (file.Remaining() < 8) {
      file.Fail("the file ends after " + std::to_string(found) + " of " +
                std::to_string(trackCount) + " tracks");
    }
    const uint8_t* id = file.Take(4, "a chunk header");
    const uint32_t length = file.BigEndian(4, "a chunk header");
    const bool isTrack = std::memcmp(id, "MTrk", 4) == 0;
    const std::string name = isTrack ? "track " + std::to_string(found + 1) : "a chunk";
    if (length > file.Remaining()) file.Fail(name + " is cut short");
    const uint8_t* body = file.Take(length, "a chunk");
    if (!isTrack) continue;  // chunks of unknown kinds are skipped
    ByteReader track(body, length, name);
    ReadTrack(track, song);
    ++found;
  }
  SortByTick(song.events);  // stable: same-tick events keep track and file order
  SortByTick(song.tempos);
  SortByTick(song.signatures);
  return song;
}

MidiFile ReadMidiFile(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path, kLargestFile);
  try {
    return ParseMidiFile(bytes);
  } catch (const RenderError& error) {
    throw RenderError(path + ": " + error.what());
  }
}
