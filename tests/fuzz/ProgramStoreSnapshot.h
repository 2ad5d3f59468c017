#pragma once

#include <cstdint>
#include <vector>

#include "engine/Tarsyn7.h"

// Every slot with its name, the live state and the current program, to see that a refused
// input changed nothing.
inline std::vector<uint8_t> Snapshot(Tarsyn7& plug) {
  ChunkBuffer chunk;
  plug.SerializePresets(chunk);
  plug.WriteState(chunk);
  chunk.PutInt32(plug.CurrentPreset());
  return std::vector<uint8_t>(chunk.Data(), chunk.Data() + chunk.Size());
}
