#pragma once

#include <cstdint>

// One short MIDI message; the offset counts samples from the start of the current block
// (inside the engine, from the start of the current control period).
struct MidiMessage {
  int32_t offset = 0;
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;

  int StatusGroup() const { return status >> 4; }  // 8 note off, 9 note on, 0xB controller, ...
  int Channel() const { return status & 0x0F; }
};

// A System Exclusive dump as the host hands it over; the bytes stay the host's.
struct SysExMessage {
  int32_t offset = 0;
  int32_t size = 0;
  const uint8_t* data = nullptr;
};
