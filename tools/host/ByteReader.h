#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/host/RenderError.h"

// Reads bytes of a file held in memory, checking the length before every field; a
// failure throws RenderError naming the place (`where`) and what was being read.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, std::size_t size, std::string where)
      : data_(data), size_(size), where_(std::move(where)) {}

  bool AtEnd() const { return position_ >= size_; }
  std::size_t Remaining() const { return size_ - position_; }

  uint8_t Peek(const char* what) const {
    Need(1, what);
    return data_[position_];
  }
  uint8_t Byte(const char* what) {
    Need(1, what);
    return data_[position_++];
  }
  uint32_t BigEndian(int width, const char* what) {
    uint32_t value = 0;
    for (int i = 0; i < width; ++i) value = value << 8 | Byte(what);
    return value;
  }
  // The variable-length quantity of MIDI files: at most four bytes of seven bits.
  uint32_t VariableLength(const char* what) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const uint8_t byte = Byte(what);
      value = value << 7 | (byte & 0x7F);
      if (!(byte & 0x80)) return value;
    }
    Fail(std::string(what) + " is longer than four bytes");
  }
  const uint8_t* Take(std::size_t count, const char* what) {
    Need(count, what);
    const uint8_t* start = data_ + position_;
    position_ += count;
    return start;
  }
  std::string Chars(std::size_t count, const char* what) {
    const uint8_t* start = Take(count, what);
    return std::string(start, start + count);
  }

  [[noreturn]] void Fail(const std::string& message) const {
    throw RenderError(where_.empty() ? message : where_ + ": " + message);
  }

 private:
  void Need(std::size_t count, const char* what) const {
    if (count > Remaining()) Fail(std::string("cut short inside ") + what);
  }

  const uint8_t* data_;
  std::size_t size_;
  std::string where_;
  std::size_t position_ = 0;
};
