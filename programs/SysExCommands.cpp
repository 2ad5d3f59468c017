#include <cmath>
#include <mutex>
#include <utility>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"
#include "programs/HardwareSequence.h"
#include "programs/InitialProgramName.h"
#include "programs/SysEx.h"
#include "programs/WholeFile.h"

namespace {

// A dump longer than the largest layout carries nothing more that is read.
const size_t kLargestDump = static_cast<size_t>(SysExDumpSize(HardwareLayout::kPoly800II));

// Reads and checks a dump file; an empty image and the reason when it is refused.
SysExDump ReadDumpFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!ReadFileStart(path, kLargestDump, bytes)) {
    SysExDump dump;
    dump.error = "The file cannot be read.";
    return dump;
  }
  return ParseSysExDump(bytes.data(), bytes.size());
}

// What a hardware program brings beyond its record: the hardware's level and brightness,
// and its calibration.
void SetHardwareDefaults(StateRecord& record) {
  record.values[kVolume] = 0.5;
  record.values[kGainBoost] = 1.0;
  record.values[kBrightness] = 1.0;
  record.values[kLegacyMode] = 1.0;
  record.legacyByte = 1;
}

}  // namespace

// A slot's stored program; a slot never filled gives the parameters' defaults.
StateRecord Tarsyn7::StoredProgram(int slot) {
  const Preset* preset = GetPreset(slot);
  StateRecord stored;
  if (preset && preset->initialised &&
      ParseStateRecord(preset->state, 0, stored, false, false) >= 0) {
    return stored;
  }
  return DefaultProgram();
}

StateRecord Tarsyn7::DefaultProgram() {
  StateRecord defaults;
  for (int i = 0; i < kParameterCount; ++i) {
    defaults.values[static_cast<size_t>(i)] = GetParameter(i)->Default();
  }
  return defaults;
}

void Tarsyn7::ApplyHardwarePrograms(const HardwareDataImage& image, bool fresh) {
  std::lock_guard<ReentrantLock> guard(Lock());
  ModifyCurrentPreset();
  std::vector<ChunkBuffer> states(HardwareDataImage::kProgramCount);
  for (int slot = 0; slot < HardwareDataImage::kProgramCount; ++slot) {
    StateRecord record = fresh ? DefaultProgram() : StoredProgram(slot);
    image.Program(slot).Read(image.Layout(), record.values);
    SetHardwareDefaults(record);
    const std::string name = fresh ? InitialProgramName(slot) : PresetName(slot);
    if (!AppendStateRecord(states[static_cast<size_t>(slot)], record, slot, name)) return;
  }
  for (int slot = 0; slot < HardwareDataImage::kProgramCount; ++slot) {
    Preset* preset = GetPreset(slot);
    if (fresh) preset->SetName(InitialProgramName(slot));
    preset->state = std::move(states[static_cast<size_t>(slot)]);
    preset->initialised = true;
  }
  RecallPreset(CurrentPreset());
  HostProgramChanged();
}

void Tarsyn7::ApplyHardwareSequence(const HardwareDataImage& image) {
  // As many steps as the area has bytes, the hardware's own limit.
  Sequence sequence = ReadHardwareSequence(image.SequenceArea(), image.SequenceAreaSize(),
                                           image.SequenceAreaSize());
  std::lock_guard<ReentrantLock> guard(Lock());
  SetSequence(std::move(sequence));
  ModifyCurrentPreset();
  HostProgramChanged();
}

HardwareDataImage Tarsyn7::BankAsHardwareImage(HardwareLayout layout) {
  std::lock_guard<ReentrantLock> guard(Lock());
  ModifyCurrentPreset();
  HardwareDataImage image(layout);
  for (int slot = 0; slot < HardwareDataImage::kProgramCount; ++slot) {
    image.SetProgram(slot, HardwareProgramRecord::FromValues(StoredProgram(slot).values, layout));
  }
  WriteHardwareSequence(GetSequence(), image.SequenceArea(), image.SequenceAreaSize());
  image.SetBendByte(static_cast<uint8_t>(std::floor(GetParameter(kBend)->Normalized() * 63.0)));
  return image;
}

bool Tarsyn7::LoadSysExBank(const std::string& path, bool& isPoly800II, std::string& error) {
  const SysExDump dump = ReadDumpFile(path);
  error = dump.error;
  if (!dump.image) return false;
  isPoly800II = dump.image->Layout() == HardwareLayout::kPoly800II;
  ApplyHardwarePrograms(*dump.image);
  return true;
}

bool Tarsyn7::LoadSysExSequence(const std::string& path, std::string& error) {
  const SysExDump dump = ReadDumpFile(path);
  error = dump.error;
  if (!dump.image) return false;
  ApplyHardwareSequence(*dump.image);
  return true;
}

bool Tarsyn7::SaveSysEx(const std::string& path, int model) {
  HardwareLayout layout;
  if (path.empty() || !LayoutOfModel(model, layout)) return false;
  return WriteWholeFile(path, BuildSysExDump(model, BankAsHardwareImage(layout)));
}
