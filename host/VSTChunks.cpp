// The host's chunk requests: the whole bank, or the current program with its name.
#include <algorithm>
#include <mutex>
#include <string>

#include "host/IPlugVST.h"
#include "programs/ChunkHeader.h"
#include "programs/StateRecord.h"

namespace {

// Bank chunks carry a header version from this one on; older chunks hold one program.
constexpr int32_t kFirstBankVersion = 0x10000;

}  // namespace

int IPlugVST::GetChunk(bool bankRequested, void** data) {
  if (!data) return 0;
  std::lock_guard<ReentrantLock> guard(Lock());
  const bool bank = bankRequested && !IsSpecialHost();
  ChunkBuffer& chunk = bank ? bankChunk_ : programChunk_;
  chunk.Clear();
  bool written = WriteChunkHeader(chunk);
  if (bank) {
    ModifyCurrentPreset();
    written = written && SerializePresets(chunk);
  } else {
    written = written && WriteState(chunk);
    chunk.PutString(PresetName(CurrentPreset()));
  }
  if (!written || chunk.Failed()) return 0;
  *data = chunk.Data();
  return chunk.Size();
}

// The bytes are read from a copy of their own, so a host may hand back the very pointer
// the last GetChunk gave it.
bool IPlugVST::SetChunk(bool bankRequested, const void* data, int size) {
  if (!data || size <= 0) return false;
  std::lock_guard<ReentrantLock> guard(Lock());
  ChunkBuffer chunk;
  if (chunk.PutBytes(data, size) != size) return false;
  const int outcome =
      IsSpecialHost() ? ReadChunkOfSpecialHost(chunk) : ReadChunk(bankRequested, chunk);
  if (outcome < 0) return false;
  RefreshControls();
  return true;
}

// Answers the position behind what was read, negative when the chunk could not be read.
int IPlugVST::ReadChunk(bool bank, const ChunkBuffer& chunk) {
  int32_t version = 0;
  const int position = ReadChunkHeader(chunk, version);
  if (bank && version >= kFirstBankVersion) return UnserializePresets(chunk, position);
  return ReadProgramChunk(chunk, position);
}

// A record that does not read changes nothing, not even the current slot. The name
// behind it may be missing, padded or cut short: the program is taken all the same and
// the slot keeps its name, as it does for an empty name. The answer lies behind the
// name when there is one, else behind the record.
int IPlugVST::ReadProgramChunk(const ChunkBuffer& chunk, int position) {
  position = ReadState(chunk, position);
  if (position < 0) return position;
  std::string name;
  const int behindName = position < chunk.Size() ? chunk.GetString(name, position) : -1;
  if (behindName < 0) name.clear();
  ModifyCurrentPreset(name.c_str());
  return std::max(behindName, position);
}

// These hosts always ask for a program chunk, but may hand back a bank stored earlier:
// a chunk with a bank header that neither starts with a marked record nor reads to its
// end as a program is read as a bank. When that fails too, the current slot and the live state are
// put back.
int IPlugVST::ReadChunkOfSpecialHost(const ChunkBuffer& chunk) {
  const Preset current = *GetPreset(CurrentPreset());
  ChunkBuffer live;
  if (!WriteState(live)) return -1;
  int outcome = ReadChunk(false, chunk);
  int32_t version = 0;
  const int bankStart = ReadChunkHeader(chunk, version);
  const bool program = HasStateMarker(chunk, bankStart);
  if (outcome != chunk.Size() && version >= kFirstBankVersion && !program) {
    outcome = UnserializePresets(chunk, bankStart);
  }
  if (outcome < 0) {
    *GetPreset(CurrentPreset()) = current;
    ReadState(live, 0);
  }
  return outcome;
}
