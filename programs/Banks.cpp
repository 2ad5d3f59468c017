// Bank and program files, the factory banks carried in the plug-in file.
#include <mutex>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"
#include "host/ToolCommands.h"
#include "platform/ModuleResources.h"
#include "programs/ChunkHeader.h"
#include "programs/StateRecord.h"
#include "programs/SysEx.h"
#include "programs/WholeFile.h"

namespace {

// Far above any bank of 64 programs, however long their sequences.
constexpr size_t kMaxFileSize = 64u << 20;

ChunkBuffer BytesAsChunk(const uint8_t* bytes, size_t size) {
  ChunkBuffer chunk;
  if (size > 0) chunk.PutBytes(bytes, static_cast<int>(size));
  return chunk;
}

}  // namespace

BankFiles::Identity Tarsyn7::FileIdentity() const {
  return {Identity().uniqueId, VstVersion()};
}

// The host hears of new programs only once it has the plug-in: never while the object is
// being built.
void Tarsyn7::ProgramsReplaced() {
  if (!constructing_) HostProgramChanged();
}

bool Tarsyn7::LoadBankFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  return ReadWholeFile(path, kMaxFileSize, bytes) && LoadBankBytes(bytes.data(), bytes.size());
}

bool Tarsyn7::LoadBankBytes(const uint8_t* bytes, size_t size) {
  BankFiles::Bank bank;
  if (!bytes ||
      !BankFiles::ReadBankFile(bytes, size, Identity().uniqueId, ParameterCount(), bank)) {
    return false;
  }
  std::lock_guard<ReentrantLock> guard(Lock());
  const bool loaded = bank.opaque ? LoadBankChunk(bytes + bank.chunkStart, size - bank.chunkStart)
                                  : LoadParameterBank(bank);
  if (loaded) ProgramsReplaced();
  return loaded;
}

bool Tarsyn7::LoadBankImage(const uint8_t* bytes, size_t size) {
  size_t start = 0;
  if (!bytes || size > kMaxFileSize || !BankFiles::BankImageChunkStart(bytes, size, start)) {
    return false;
  }
  std::lock_guard<ReentrantLock> guard(Lock());
  const bool loaded = LoadBankChunk(bytes + start, size - start);
  if (loaded) ProgramsReplaced();
  return loaded;
}

bool Tarsyn7::LoadBankChunk(const uint8_t* bytes, size_t size) {
  return UnserializePresets(BytesAsChunk(bytes, size), 0) >= 0;
}

// A parameter bank sets the values of its programs into the slots from the first on; each
// slot keeps its chord notes and sequence, and "Legacy Mode" follows the value read. The
// whole bank is built as a bank chunk first and read like one, all or nothing.
bool Tarsyn7::LoadParameterBank(const BankFiles::Bank& bank) {
  ChunkBuffer chunk;
  for (int i = 0; i < PresetCount(); ++i) {
    const Preset* slot = GetPreset(i);
    if (static_cast<size_t>(i) >= bank.programs.size()) {
      chunk.PutString(slot->name);
      chunk.PutByte(slot->initialised ? 1 : 0);
      if (slot->initialised) chunk.PutChunk(slot->state);
      continue;
    }
    ChunkBuffer live;
    const ChunkBuffer* stored = &slot->state;
    if (!slot->initialised) {
      if (!WriteState(live)) return false;
      stored = &live;
    }
    StateRecord record;
    if (ParseStateRecord(*stored, 0, record, false, false) < 0) return false;
    const BankFiles::ParameterProgram& program = bank.programs[static_cast<size_t>(i)];
    for (int p = 0; p < StateRecord::kValueCount; ++p) {
      record.values[static_cast<size_t>(p)] =
          GetParameter(p)->FromNormalized(program.values[static_cast<size_t>(p)]);
    }
    record.legacyByte = record.values[kLegacyMode] >= 0.5 ? 1 : 0;
    chunk.PutString(program.name);
    chunk.PutByte(1);
    AppendStateRecord(chunk, record, i, program.name);
  }
  if (chunk.Failed() || UnserializePresets(chunk, 0) < 0) return false;
  if (bank.currentProgram >= 0 && bank.currentProgram < PresetCount()) {
    RecallPreset(bank.currentProgram);
  }
  return true;
}

bool Tarsyn7::SaveBankFile(const std::string& path) {
  std::lock_guard<ReentrantLock> guard(Lock());
  ChunkBuffer chunk;
  if (!WriteChunkHeader(chunk) || !SerializePresets(chunk)) return false;
  return WriteWholeFile(path,
                        BankFiles::BankFile(FileIdentity(), PresetCount(), CurrentPreset(), chunk));
}

bool Tarsyn7::LoadProgramFile(const std::string& path, bool skipSound, bool skipSequence) {
  std::vector<uint8_t> bytes;
  return ReadWholeFile(path, kMaxFileSize, bytes) &&
         LoadProgramBytes(bytes.data(), bytes.size(), skipSound, skipSequence);
}

bool Tarsyn7::LoadProgramBytes(const uint8_t* bytes, size_t size, bool skipSound,
                               bool skipSequence) {
  BankFiles::Program program;
  if (!bytes || !BankFiles::ReadProgramFile(bytes, size, Identity().uniqueId, program)) {
    return false;
  }
  std::lock_guard<ReentrantLock> guard(Lock());
  const ChunkBuffer record = BytesAsChunk(bytes + program.recordStart, size - program.recordStart);
  if (ReadStateParts(record, 0, skipSound, skipSequence) < 0) return false;
  ModifyCurrentPreset(program.name.c_str());
  RecallPreset(CurrentPreset());
  ProgramsReplaced();
  return true;
}

bool Tarsyn7::SaveProgramFile(const std::string& path) {
  std::lock_guard<ReentrantLock> guard(Lock());
  ChunkBuffer chunk;
  if (!WriteChunkHeader(chunk) || !WriteState(chunk)) return false;
  return WriteWholeFile(path, BankFiles::ProgramFile(FileIdentity(), ParameterCount(),
                                                     PresetName(CurrentPreset()), chunk));
}

bool Tarsyn7::RestoreFactoryBank(bool poly800) {
  return LoadFactoryBank("PROGINIT", poly800 ? "LEGACY" : "PROGDATA");
}

bool Tarsyn7::LoadFactoryBank(const char* name, const char* type) {
  ModuleResource resource;
  return FindModuleResource(type, name, resource) && LoadBankImage(resource.data, resource.size);
}

// The saves store the live state into its slot first, as the menu's save commands do.
bool Tarsyn7::RunToolCommand(int32_t command, const char* path) {
  std::lock_guard<ReentrantLock> guard(Lock());
  const std::string file = path ? path : "";
  bool done = false;
  switch (command) {
    case ToolCommands::kLoadBankFile:
      done = LoadBankFile(file);
      break;
    case ToolCommands::kSaveBankFile:
      ModifyCurrentPreset();
      done = SaveBankFile(file);
      break;
    case ToolCommands::kLoadProgramFile:
      done = LoadProgramFile(file, false, false);
      break;
    case ToolCommands::kSaveProgramFile:
      ModifyCurrentPreset();
      done = SaveProgramFile(file);
      break;
    case ToolCommands::kRestorePoly800Bank:
    case ToolCommands::kRestoreOwnBank:
      done = RestoreFactoryBank(command == ToolCommands::kRestorePoly800Bank);
      break;
    case ToolCommands::kLoadSysExBank: {
      bool isPoly800II = false;
      std::string error;
      done = LoadSysExBank(file, isPoly800II, error);
      break;
    }
    case ToolCommands::kSaveSysExEx800:
      done = SaveSysEx(file, kEx800);
      break;
    case ToolCommands::kSaveSysExMidiDumpKit:
      done = SaveSysEx(file, kMidiDumpKit);
      break;
    case ToolCommands::kSaveSysExPoly800II:
      done = SaveSysEx(file, kPoly800II);
      break;
    default:
      return Synth::RunToolCommand(command, path);  // the panel's picture
  }
  if (done) RefreshControls();
  return done;
}
