#include "programs/ChunkHeader.h"

bool WriteChunkHeader(ChunkBuffer& chunk) {
  chunk.PutInt32(ChunkHeader::kMagic);
  chunk.PutInt32(ChunkHeader::kVersion);
  return !chunk.Failed();
}

int ReadChunkHeader(const ChunkBuffer& chunk, int32_t& version) {
  version = 0;
  int32_t magic = 0;
  const int behindMagic = chunk.GetInt32(magic, 0);
  if (behindMagic < 0 || magic != ChunkHeader::kMagic) return 0;
  return chunk.GetInt32(version, behindMagic);
}
