#include "programs/BankFiles.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "programs/ChunkHeader.h"

namespace BankFiles {
namespace {

constexpr char kChunkMagic[] = "CcnK";
constexpr char kOpaqueBank[] = "FBCh";
constexpr char kParameterBank[] = "FxBk";
constexpr char kOpaqueProgram[] = "FPCh";
constexpr char kParameterProgram[] = "FxCk";
constexpr int32_t kBankFormatVersion = 2;
constexpr int32_t kProgramFormatVersion = 1;
constexpr int kParameterProgramHead = 56;  // up to the values

void PutBigEndian(std::vector<uint8_t>& file, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<uint8_t>(bits >> shift));
}

void PutMagic(std::vector<uint8_t>& file, const char (&magic)[5]) {
  for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(magic[i]));
}

int32_t BigEndianAt(const uint8_t* bytes, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = (value << 8) | bytes[offset + i];
  return static_cast<int32_t>(value);
}

bool MagicAt(const uint8_t* bytes, size_t size, size_t offset, const char (&magic)[5]) {
  return offset + 4 <= size && std::memcmp(bytes + offset, magic, 4) == 0;
}

// The text of a name field up to its first zero byte.
std::string NameAt(const uint8_t* bytes, size_t offset) {
  const uint8_t* field = bytes + offset;
  return std::string(field, std::find(field, field + kNameSize, 0));
}

// Where the slots of a bank chunk begin: behind its "tffp" header when it has one.
size_t ChunkBodyStart(const uint8_t* bytes, size_t size, size_t chunkStart) {
  const bool headed = chunkStart + 4 <= size && std::memcmp(bytes + chunkStart, "tffp", 4) == 0;
  return headed ? chunkStart + ChunkHeader::kSize : chunkStart;
}

// The common head of both files: "CcnK", byte size, magic, format version, plug-in
// identifier and version, and a count (programs or parameters).
std::vector<uint8_t> FileHead(const Identity& identity, const char (&magic)[5],
                              int32_t formatVersion, int32_t count, size_t fileSize) {
  std::vector<uint8_t> file;
  file.reserve(fileSize);
  PutMagic(file, kChunkMagic);
  PutBigEndian(file, static_cast<int32_t>(fileSize));
  PutMagic(file, magic);
  PutBigEndian(file, formatVersion);
  PutBigEndian(file, identity.pluginId);
  PutBigEndian(file, identity.pluginVersion);
  PutBigEndian(file, count);
  return file;
}

// Parameter programs, each "CcnK", byte size, "FxCk", version 1, identifier, version,
// parameter count, name and the big-endian values. Non-finite values read as 0, the
// parameter's minimum.
bool ReadParameterPrograms(const uint8_t* bytes, size_t size, int parameterCount, Bank& bank) {
  const int32_t count = BigEndianAt(bytes, 24);
  if (count < 1) return false;
  const size_t programSize = kParameterProgramHead + 4 * static_cast<size_t>(parameterCount);
  size_t offset = kBankHeaderSize - 4;
  for (int32_t i = 0; i < count && i < kMaxPrograms; ++i, offset += programSize) {
    if (offset + programSize > size || !MagicAt(bytes, size, offset, kChunkMagic) ||
        !MagicAt(bytes, size, offset + 8, kParameterProgram) ||
        BigEndianAt(bytes, offset + 12) != kProgramFormatVersion ||
        BigEndianAt(bytes, offset + 24) != parameterCount) {
      return false;
    }
    ParameterProgram program;
    program.name = NameAt(bytes, offset + 28);
    for (int p = 0; p < parameterCount; ++p) {
      const uint32_t bits = static_cast<uint32_t>(
          BigEndianAt(bytes, offset + kParameterProgramHead + 4 * static_cast<size_t>(p)));
      float value;
      std::memcpy(&value, &bits, sizeof value);
      program.values.push_back(std::isfinite(value) ? value : 0.0f);
    }
    bank.programs.push_back(std::move(program));
  }
  return true;
}

}  // namespace

std::vector<uint8_t> BankFile(const Identity& identity, int32_t programCount,
                              int32_t currentProgram, const ChunkBuffer& chunk) {
  const size_t size = kBankHeaderSize + static_cast<size_t>(chunk.Size());
  std::vector<uint8_t> file =
      FileHead(identity, kOpaqueBank, kBankFormatVersion, programCount, size);
  PutBigEndian(file, currentProgram);
  file.resize(kBankHeaderSize - 4, 0);
  PutBigEndian(file, chunk.Size());
  file.insert(file.end(), chunk.Data(), chunk.Data() + chunk.Size());
  return file;
}

std::vector<uint8_t> ProgramFile(const Identity& identity, int32_t parameterCount,
                                 const std::string& name, const ChunkBuffer& chunk) {
  const size_t size = kProgramHeaderSize + static_cast<size_t>(chunk.Size());
  std::vector<uint8_t> file =
      FileHead(identity, kOpaqueProgram, kProgramFormatVersion, parameterCount, size);
  const size_t nameLength = std::min(name.size(), static_cast<size_t>(kNameSize));
  file.insert(file.end(), name.begin(), name.begin() + static_cast<std::ptrdiff_t>(nameLength));
  file.resize(kProgramHeaderSize - 4, 0);
  PutBigEndian(file, chunk.Size());
  file.insert(file.end(), chunk.Data(), chunk.Data() + chunk.Size());
  return file;
}

bool ReadBankFile(const uint8_t* bytes, size_t size, int32_t pluginId, int parameterCount,
                  Bank& bank) {
  if (size < kBankHeaderSize - 4 || !MagicAt(bytes, size, 0, kChunkMagic) ||
      BigEndianAt(bytes, 16) != pluginId) {
    return false;
  }
  Bank read;
  read.currentProgram = BigEndianAt(bytes, 28);
  if (MagicAt(bytes, size, 8, kOpaqueBank)) {
    if (size < kBankHeaderSize) return false;
    read.chunkStart = ChunkBodyStart(bytes, size, kBankHeaderSize);
  } else if (MagicAt(bytes, size, 8, kParameterBank)) {
    read.opaque = false;
    if (!ReadParameterPrograms(bytes, size, parameterCount, read)) return false;
  } else {
    return false;
  }
  bank = std::move(read);
  return true;
}

bool ReadProgramFile(const uint8_t* bytes, size_t size, int32_t pluginId, Program& program) {
  if (size < kProgramHeaderSize || !MagicAt(bytes, size, 0, kChunkMagic) ||
      !MagicAt(bytes, size, 8, kOpaqueProgram) || BigEndianAt(bytes, 12) != kProgramFormatVersion ||
      BigEndianAt(bytes, 16) != pluginId) {
    return false;
  }
  program.recordStart = ChunkBodyStart(bytes, size, kProgramHeaderSize);
  program.name = NameAt(bytes, 28);
  return true;
}

bool BankImageChunkStart(const uint8_t* bytes, size_t size, size_t& chunkStart) {
  if (size < kBankHeaderSize) return false;
  chunkStart = ChunkBodyStart(bytes, size, kBankHeaderSize);
  return true;
}

}  // namespace BankFiles
