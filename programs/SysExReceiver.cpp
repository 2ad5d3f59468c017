#include "programs/SysExReceiver.h"

#include <cstring>

#include "programs/SysEx.h"

namespace {

constexpr uint8_t kStartOfExclusive = 0xF0;
constexpr uint8_t kEndOfExclusive = 0xF7;

// A message opening with 0xF0 belongs to another instrument when its maker and family
// bytes already differ from the hardware's.
bool ForOtherInstrument(const uint8_t* data, size_t size) {
  return (size > 1 && data[1] != 0x42) || (size > 2 && data[2] != 0x21);
}

}  // namespace

SysExReceiver::SysExReceiver()
    : buffer_(static_cast<size_t>(SysExDumpSize(HardwareLayout::kPoly800II))) {}

void SysExReceiver::Clear() {
  size_ = 0;
  collecting_ = false;
  complete_ = false;
}

void SysExReceiver::Take(const SysExMessage& message) {
  if (!message.data || message.size <= 0) return;
  const auto size = static_cast<size_t>(message.size);
  if (message.data[0] == kStartOfExclusive) {
    if (ForOtherInstrument(message.data, size)) return;
    Clear();
    collecting_ = true;
  }
  if (!collecting_) return;
  if (size > buffer_.size() - size_) {  // longer than any dump: not one of ours
    Clear();
    return;
  }
  std::memcpy(buffer_.data() + size_, message.data, size);
  size_ += size;
  if (message.data[size - 1] == kEndOfExclusive) {
    collecting_ = false;
    complete_ = true;
  }
}
