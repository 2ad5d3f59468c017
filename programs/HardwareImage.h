#pragma once

#include <cstdint>
#include <vector>

#include "programs/HardwareProgramRecord.h"

// The hardware's memory as its dumps carry it: a lead byte, the step sequence, a few
// global bytes and the 64 programs. Only the sequence area, the programs and (on the
// Poly-800) the bend byte mean anything here; the rest is written 0.
class HardwareDataImage {
 public:
  static constexpr int kProgramCount = 64;

  explicit HardwareDataImage(HardwareLayout layout);

  // Bytes of a whole image of the layout.
  static int SizeOf(HardwareLayout layout);

  HardwareLayout Layout() const { return layout_; }
  std::vector<uint8_t>& Bytes() { return bytes_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

  uint8_t* SequenceArea() { return bytes_.data() + kSequenceStart; }
  const uint8_t* SequenceArea() const { return bytes_.data() + kSequenceStart; }
  int SequenceAreaSize() const;

  HardwareProgramRecord Program(int slot) const;
  void SetProgram(int slot, const HardwareProgramRecord& record);
  // The Poly-800 keeps the pitch-bend range in its global area; the Poly-800 II has no
  // such byte and ignores this.
  void SetBendByte(uint8_t value);

  // The low 8 bits of the sum of all bytes.
  uint8_t Checksum() const;

 private:
  static constexpr int kSequenceStart = 1;

  int ProgramOffset(int slot) const;

  HardwareLayout layout_;
  std::vector<uint8_t> bytes_;
};
