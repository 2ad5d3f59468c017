#include "programs/ChunkBuffer.h"

#include <cstring>
#include <new>

namespace {

void EncodeLittleEndian(uint64_t value, uint8_t* out, int width) {
  for (int i = 0; i < width; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t DecodeLittleEndian(const uint8_t* in, int width) {
  uint64_t value = 0;
  for (int i = 0; i < width; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
  return value;
}

}  // namespace

bool ChunkBuffer::Resize(int size) {
  if (size < 0) return false;
  try {
    bytes_.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

int ChunkBuffer::PutBytes(const void* data, int size) {
  if (size > 0) {
    const auto* begin = static_cast<const uint8_t*>(data);
    try {
      bytes_.insert(bytes_.end(), begin, begin + size);
    } catch (const std::bad_alloc&) {
      failed_ = true;
    }
  }
  return Size();
}

int ChunkBuffer::PutInt32(int32_t value) {
  uint8_t encoded[4];
  EncodeLittleEndian(static_cast<uint32_t>(value), encoded, 4);
  return PutBytes(encoded, 4);
}

int ChunkBuffer::PutDouble(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  uint8_t encoded[8];
  EncodeLittleEndian(bits, encoded, 8);
  return PutBytes(encoded, 8);
}

int ChunkBuffer::PutByte(uint8_t value) {
  return PutBytes(&value, 1);
}

int ChunkBuffer::PutString(const std::string& text) {
  PutInt32(static_cast<int32_t>(text.size()));
  return PutBytes(text.data(), static_cast<int>(text.size()));
}

int ChunkBuffer::Skip(int size, int position) const {
  if (position < 0 || size < 0 || size > Size() - position) return -1;
  return position + size;
}

int ChunkBuffer::GetBytes(void* data, int size, int position) const {
  const int end = Skip(size, position);
  if (end >= 0 && size > 0) std::memcpy(data, bytes_.data() + position, static_cast<size_t>(size));
  return end;
}

int ChunkBuffer::GetInt32(int32_t& value, int position) const {
  const int end = Skip(4, position);
  if (end >= 0)
    value = static_cast<int32_t>(static_cast<uint32_t>(DecodeLittleEndian(Data() + position, 4)));
  return end;
}

int ChunkBuffer::GetDouble(double& value, int position) const {
  const int end = Skip(8, position);
  if (end >= 0) {
    const uint64_t bits = DecodeLittleEndian(Data() + position, 8);
    std::memcpy(&value, &bits, sizeof value);
  }
  return end;
}

int ChunkBuffer::GetByte(uint8_t& value, int position) const {
  return GetBytes(&value, 1, position);
}

int ChunkBuffer::GetString(std::string& text, int position) const {
  int32_t count = 0;
  position = GetInt32(count, position);
  if (position < 0) return -1;
  if (count <= 0) {
    text.clear();
    return position;
  }
  const int end = Skip(count, position);
  if (end >= 0)
    text.assign(reinterpret_cast<const char*>(Data() + position), static_cast<size_t>(count));
  return end;
}
