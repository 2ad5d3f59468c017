// libFuzzer target over hardware dumps. The first byte chooses: bit 0 clear sends the
// rest as a dump, in pieces of (first byte >> 2) + 1 bytes, through the plug-in's live
// input and an idle call; a refused dump must leave every slot and the live state as they
// were. Bit 0 set takes the rest as a memory image (bit 1: Poly-800 II layout), wraps it
// in a valid dump so the records and the sequence area are read, and checks that the
// programs read stay inside the parameters' ranges and survive a save and a reload.
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/Tarsyn7.h"
#include "programs/HardwareSequence.h"
#include "programs/SysEx.h"

namespace {

Tarsyn7* Create() {
  auto* plug = new Tarsyn7(nullptr);
  for (int i = 0; i < plug->PresetCount(); ++i) {
    Preset* preset = plug->GetPreset(i);
    preset->initialised = plug->WriteState(preset->state);
  }
  return plug;
}

std::vector<uint8_t> Snapshot(Tarsyn7& plug) {
  ChunkBuffer chunk;
  plug.SerializePresets(chunk);
  plug.WriteState(chunk);
  return std::vector<uint8_t>(chunk.Data(), chunk.Data() + chunk.Size());
}

void SendInPieces(Tarsyn7& plug, const uint8_t* data, size_t size, size_t piece) {
  for (size_t start = 0; start < size; start += piece) {
    const size_t length = std::min(piece, size - start);
    plug.HandleSysEx({0, static_cast<int32_t>(length), data + start});
  }
  plug.IdleTick();
}

void CheckRanges(Tarsyn7& plug) {
  for (int slot = 0; slot < plug.PresetCount(); ++slot) {
    StateRecord record;
    if (ParseStateRecord(plug.GetPreset(slot)->state, 0, record, false, false) < 0) {
      __builtin_trap();
    }
    for (int i = 0; i < kParameterCount; ++i) {
      const Parameter* parameter = plug.GetParameter(i);
      const double value = record.values[static_cast<size_t>(i)];
      if (!(value >= parameter->Minimum() && value <= parameter->Maximum())) __builtin_trap();
    }
  }
}

void ImageRoundTrip(Tarsyn7& plug, const uint8_t* data, size_t size, HardwareLayout layout) {
  HardwareDataImage image(layout);
  std::memcpy(image.Bytes().data(), data, std::min(size, image.Bytes().size()));
  const int model = layout == HardwareLayout::kPoly800II ? kPoly800II : kMidiDumpKit;
  const std::vector<uint8_t> dump = BuildSysExDump(model, image);
  if (!ParseSysExDump(dump.data(), dump.size()).image) __builtin_trap();
  plug.ApplyHardwarePrograms(image);
  plug.ApplyHardwareSequence(image);
  CheckRanges(plug);
  const std::vector<uint8_t> first = Snapshot(plug);
  const HardwareDataImage saved = plug.BankAsHardwareImage(layout);
  plug.ApplyHardwarePrograms(saved);
  plug.ApplyHardwareSequence(saved);
  if (Snapshot(plug) != first) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Tarsyn7* const plug = Create();
  if (size < 1) return 0;
  if (data[0] & 1) {
    ImageRoundTrip(*plug, data + 1, size - 1,
                   (data[0] & 2) ? HardwareLayout::kPoly800II : HardwareLayout::kPoly800);
    return 0;
  }
  const std::vector<uint8_t> before = Snapshot(*plug);
  const bool accepted = ParseSysExDump(data + 1, size - 1).image.has_value();
  SendInPieces(*plug, data + 1, size - 1, static_cast<size_t>(data[0] >> 2) + 1);
  if (!accepted && Snapshot(*plug) != before) __builtin_trap();
  return 0;
}
