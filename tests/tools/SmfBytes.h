#pragma once

// Standard MIDI File bytes built by hand for the tests, independent of the renderer's own
// writer.

#include <cstdint>
#include <initializer_list>
#include <vector>

class TrackBytes {
 public:
  // An event after `delta` ticks, written exactly as given (running status included).
  TrackBytes& Event(uint32_t delta, std::initializer_list<uint8_t> bytes) {
    VariableLength(delta);
    bytes_.insert(bytes_.end(), bytes);
    return *this;
  }
  // Bytes without a delta time in front, to break the format.
  TrackBytes& Raw(std::initializer_list<uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes);
    return *this;
  }
  TrackBytes& Tempo(uint32_t delta, uint32_t microsecondsPerQuarter) {
    return Event(delta, {0xFF, 0x51, 0x03, static_cast<uint8_t>(microsecondsPerQuarter >> 16),
                         static_cast<uint8_t>(microsecondsPerQuarter >> 8),
                         static_cast<uint8_t>(microsecondsPerQuarter)});
  }
  TrackBytes& TimeSignature(uint32_t delta, uint8_t numerator, uint8_t denominatorPower) {
    return Event(delta, {0xFF, 0x58, 0x04, numerator, denominatorPower, 24, 8});
  }
  TrackBytes& End(uint32_t delta = 0) { return Event(delta, {0xFF, 0x2F, 0x00}); }

  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  void VariableLength(uint32_t value) {
    std::vector<uint8_t> groups;
    do {
      groups.insert(groups.begin(), static_cast<uint8_t>(value & 0x7F));
      value >>= 7;
    } while (value != 0);
    for (size_t i = 0; i + 1 < groups.size(); ++i) groups[i] |= 0x80;
    bytes_.insert(bytes_.end(), groups.begin(), groups.end());
  }

  std::vector<uint8_t> bytes_;
};

inline void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value, int width) {
  for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
    out.push_back(static_cast<uint8_t>(value >> shift));
  }
}

// Header and track chunks; `division` is written as given (quarter ticks or SMPTE).
inline std::vector<uint8_t> SmfBytes(int format, uint16_t division,
                                     const std::vector<TrackBytes>& tracks) {
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
  AppendBigEndian(file, static_cast<uint32_t>(format), 2);
  AppendBigEndian(file, static_cast<uint32_t>(tracks.size()), 2);
  AppendBigEndian(file, division, 2);
  for (const TrackBytes& track : tracks) {
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    AppendBigEndian(file, static_cast<uint32_t>(track.Bytes().size()), 4);
    file.insert(file.end(), track.Bytes().begin(), track.Bytes().end());
  }
  return file;
}
