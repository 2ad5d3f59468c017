#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Growable byte buffer behind every chunk and file body. Values are stored little-endian
// whatever the machine. Readers take a position and answer the position behind what they
// read, or -1 when the value would run past the end (a negative position stays negative,
// so a chain of reads fails as a whole).
class ChunkBuffer {
 public:
  void Clear() {
    bytes_.clear();
    failed_ = false;
  }
  int Size() const { return static_cast<int>(bytes_.size()); }
  const uint8_t* Data() const { return bytes_.data(); }
  uint8_t* Data() { return bytes_.data(); }
  bool Resize(int size);
  // True once an append could not get memory (that append added nothing); Clear resets it.
  bool Failed() const { return failed_; }

  // Appenders answer the new size.
  int PutBytes(const void* data, int size);
  int PutInt32(int32_t value);
  int PutDouble(double value);
  int PutByte(uint8_t value);
  int PutString(const std::string& text);  // int32 byte count, then the bytes
  int PutChunk(const ChunkBuffer& other) { return PutBytes(other.Data(), other.Size()); }

  int GetBytes(void* data, int size, int position) const;
  int GetInt32(int32_t& value, int position) const;
  int GetDouble(double& value, int position) const;
  int GetByte(uint8_t& value, int position) const;
  int GetString(std::string& text, int position) const;  // a count of 0 or less reads as ""
  // Position behind `size` bytes, or -1 when they are not all there.
  int Skip(int size, int position) const;

 private:
  std::vector<uint8_t> bytes_;
  bool failed_ = false;
};
