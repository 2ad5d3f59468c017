#include "engine/Tarsyn7.h"

// The state record until its own format is in place: the plain parameter values.
bool Tarsyn7::WriteState(ChunkBuffer& chunk) { return SerializeParams(chunk); }

int Tarsyn7::ReadState(const ChunkBuffer& chunk, int position) {
  return ReadStateParts(chunk, position, false, false);
}

int Tarsyn7::ReadStateParts(const ChunkBuffer& chunk, int position, bool, bool) {
  return UnserializeParams(chunk, position);
}
