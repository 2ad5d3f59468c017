#include "programs/HardwareImage.h"

#include <algorithm>

namespace {

struct LayoutSizes {
  int sequence;
  int global;
  int programStride;  // the Poly-800 II keeps 5 bytes of delay and equalizer behind each
  int tail;
};

constexpr LayoutSizes kPoly800Sizes{256, 31, HardwareProgramRecord::kSize, 1};
constexpr LayoutSizes kPoly800IISizes{1000, 23, HardwareProgramRecord::kSize + 5, 0};
constexpr int kBendByte = 9;  // inside the Poly-800's global area

const LayoutSizes& SizesOf(HardwareLayout layout) {
  return layout == HardwareLayout::kPoly800II ? kPoly800IISizes : kPoly800Sizes;
}

}  // namespace

HardwareDataImage::HardwareDataImage(HardwareLayout layout)
    : layout_(layout), bytes_(static_cast<size_t>(SizeOf(layout)), 0) {}

int HardwareDataImage::SizeOf(HardwareLayout layout) {
  const LayoutSizes& sizes = SizesOf(layout);
  return kSequenceStart + sizes.sequence + sizes.global + kProgramCount * sizes.programStride +
         sizes.tail;
}

int HardwareDataImage::SequenceAreaSize() const {
  return SizesOf(layout_).sequence;
}

int HardwareDataImage::ProgramOffset(int slot) const {
  const LayoutSizes& sizes = SizesOf(layout_);
  return kSequenceStart + sizes.sequence + sizes.global + slot * sizes.programStride;
}

HardwareProgramRecord HardwareDataImage::Program(int slot) const {
  HardwareProgramRecord record;
  if (slot < 0 || slot >= kProgramCount) return record;
  const auto start = bytes_.begin() + ProgramOffset(slot);
  std::copy(start, start + HardwareProgramRecord::kSize, record.bytes.begin());
  return record;
}

void HardwareDataImage::SetProgram(int slot, const HardwareProgramRecord& record) {
  if (slot < 0 || slot >= kProgramCount) return;
  std::copy(record.bytes.begin(), record.bytes.end(), bytes_.begin() + ProgramOffset(slot));
}

void HardwareDataImage::SetBendByte(uint8_t value) {
  if (layout_ == HardwareLayout::kPoly800) {
    bytes_[static_cast<size_t>(kSequenceStart + kPoly800Sizes.sequence + kBendByte)] = value;
  }
}

uint8_t HardwareDataImage::Checksum() const {
  unsigned sum = 0;
  for (uint8_t byte : bytes_) sum += byte;
  return static_cast<uint8_t>(sum);
}
