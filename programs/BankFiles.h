#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "programs/ChunkBuffer.h"

// FXB bank files and FXP program files: a big-endian header in front of the chunk. They
// are written as opaque-chunk files; parameter banks ("FxBk") are read as well.
namespace BankFiles {

constexpr int kBankHeaderSize = 160;
constexpr int kProgramHeaderSize = 60;
constexpr int kNameSize = 28;
constexpr int kMaxPrograms = 64;

// Whose files these are: the plug-in identifier and its version as major × 10000 +
// minor × 100 + patch.
struct Identity {
  int32_t pluginId;
  int32_t pluginVersion;
};

// One program of a parameter bank: its name and the normalised values as stored.
struct ParameterProgram {
  std::string name;
  std::vector<float> values;
};

// What a bank file holds: an opaque chunk bank (the bank chunk at `chunkStart`, without
// its "tffp" header, to the end of the file) or parameter programs (the first 64).
struct Bank {
  bool opaque = true;
  size_t chunkStart = 0;
  int32_t currentProgram = 0;
  std::vector<ParameterProgram> programs;
};

// What a program file holds: the state record from `recordStart` on, and the name.
struct Program {
  size_t recordStart = 0;
  std::string name;
};

// The file images. `chunk` is the whole bank chunk (with its "tffp" header) or the
// "tffp" header and one state record.
std::vector<uint8_t> BankFile(const Identity& identity, int32_t programCount,
                              int32_t currentProgram, const ChunkBuffer& chunk);
std::vector<uint8_t> ProgramFile(const Identity& identity, int32_t parameterCount,
                                 const std::string& name, const ChunkBuffer& chunk);

// Readers: false for a file cut short, another plug-in's file or a form this plug-in
// does not read. `parameterCount` is what every parameter program must hold.
bool ReadBankFile(const uint8_t* bytes, size_t size, int32_t pluginId, int parameterCount,
                  Bank& bank);
bool ReadProgramFile(const uint8_t* bytes, size_t size, int32_t pluginId, Program& program);

// The bank chunk of an image whose header is not checked (the factory banks): where the
// slots start, or false when the image is shorter than its header.
bool BankImageChunkStart(const uint8_t* bytes, size_t size, size_t& chunkStart);

}  // namespace BankFiles
