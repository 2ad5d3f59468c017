#include "tools/render/PresetFile.h"

#include <cstring>
#include <vector>

#include "tools/host/ByteReader.h"
#include "tools/host/FileBytes.h"
#include "tools/host/PluginHost.h"

namespace {

constexpr std::size_t kLargestFile = 64u << 20;
constexpr std::size_t kProgramNameBytes = 28;
constexpr std::size_t kBankReservedBytes = 128;  // current program (version 2) and reserve
constexpr int kChunkIsProgram = 1;
constexpr int kChunkIsBank = 0;

// The common front of every record: "CcnK", byte size (not trusted), the kind, format
// version, plug-in identifier and version.
struct RecordHeader {
  std::string kind;
  uint32_t version;
};

std::string FourCharacters(uint32_t id) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>(id >> shift);
    text += c >= 32 && c < 127 ? c : '?';
  }
  return text;
}

RecordHeader ReadHeader(ByteReader& reader, const PluginHost& host) {
  if (reader.Chars(4, "the header") != "CcnK") reader.Fail("not an FXP or FXB file");
  reader.BigEndian(4, "the header");
  RecordHeader header{reader.Chars(4, "the header"), reader.BigEndian(4, "the header")};
  const uint32_t owner = reader.BigEndian(4, "the header");
  const auto expected = static_cast<uint32_t>(host.Effect().uniqueID);
  if (owner != expected) {
    reader.Fail("made for the plug-in \"" + FourCharacters(owner) + "\", not \"" +
                FourCharacters(expected) + "\"");
  }
  reader.BigEndian(4, "the header");  // plug-in version
  return header;
}

void SetChunk(PluginHost& host, ByteReader& reader, int kind) {
  if (!(host.Effect().flags & effFlagsProgramChunks)) reader.Fail("the plug-in takes no chunks");
  const uint32_t size = reader.BigEndian(4, "the chunk length");
  auto* chunk = const_cast<uint8_t*>(reader.Take(size, "the chunk"));
  if (host.Dispatch(effSetChunk, kind, static_cast<VstIntPtr>(size), chunk) == 0) {
    reader.Fail("the plug-in refused the data");
  }
}

// The rest of an "FxCk" record: parameter count, name, then the values.
void SetParameters(PluginHost& host, ByteReader& reader) {
  const uint32_t count = reader.BigEndian(4, "the parameter count");
  const std::string name = reader.Chars(kProgramNameBytes, "the program name");
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t bits = reader.BigEndian(4, "a parameter value");
    float value;
    std::memcpy(&value, &bits, sizeof value);
    if (i < static_cast<uint32_t>(host.ParameterCount()))
      host.SetParameter(static_cast<int>(i), value);
  }
  char text[kProgramNameBytes + 1] = {};
  std::memcpy(text, name.data(), kProgramNameBytes);
  host.Dispatch(effSetProgramName, 0, 0, text);
}

void LoadProgram(PluginHost& host, ByteReader& reader) {
  const RecordHeader header = ReadHeader(reader, host);
  if (header.kind == "FxCk") {
    SetParameters(host, reader);
  } else if (header.kind == "FPCh") {
    reader.BigEndian(4, "the parameter count");
    reader.Take(kProgramNameBytes, "the program name");
    SetChunk(host, reader, kChunkIsProgram);
  } else {
    reader.Fail("not a program file");
  }
}

}  // namespace

void LoadProgramFile(PluginHost& host, const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path, kLargestFile);
  ByteReader reader(bytes.data(), bytes.size(), path);
  LoadProgram(host, reader);
}

void LoadBankFile(PluginHost& host, const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path, kLargestFile);
  ByteReader reader(bytes.data(), bytes.size(), path);
  const RecordHeader header = ReadHeader(reader, host);
  if (header.kind != "FxBk" && header.kind != "FBCh") reader.Fail("not a bank file");
  const uint32_t programs = reader.BigEndian(4, "the program count");
  ByteReader reserved(reader.Take(kBankReservedBytes, "the header"), kBankReservedBytes, path);
  const uint32_t current = header.version >= 2 ? reserved.BigEndian(4, "the header") : 0;
  if (header.kind == "FBCh") {
    SetChunk(host, reader, kChunkIsBank);
    return;
  }
  for (uint32_t i = 0; i < programs && i < static_cast<uint32_t>(host.ProgramCount()); ++i) {
    host.SetProgram(static_cast<int>(i));
    LoadProgram(host, reader);
  }
  if (current < static_cast<uint32_t>(host.ProgramCount()))
    host.SetProgram(static_cast<int>(current));
}
