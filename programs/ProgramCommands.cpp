#include "programs/ProgramCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <mutex>

#include "engine/Tarsyn7.h"

namespace {

constexpr size_t kMaxProposedLength = 63;

bool IsForbiddenInFileName(char character) {
  const auto code = static_cast<unsigned char>(character);
  return code < 32 || code == 127 ||
         std::string("<>:\"/\\|?*").find(character) != std::string::npos;
}

// Windows opens a device instead of a file under these names, with any extension.
bool IsReservedDeviceName(const std::string& name) {
  std::string base = name.substr(0, name.find('.'));
  std::transform(base.begin(), base.end(), base.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::string ProposedProgramFileName(const std::string& programName) {
  std::string name = programName.substr(0, kMaxProposedLength);
  if (name.empty()) return "Tarsyn7";
  std::replace_if(name.begin(), name.end(), IsForbiddenInFileName, '_');
  for (auto last = name.rbegin(); last != name.rend() && (*last == '.' || *last == ' '); ++last) {
    *last = '_';
  }
  if (IsReservedDeviceName(name)) name += '_';
  return name;
}

void Tarsyn7::CopyProgram() {
  std::lock_guard<ReentrantLock> guard(Lock());
  ChunkBuffer state;
  if (!WriteState(state)) return;
  copiedState_ = std::move(state);
  copiedName_ = PresetName(CurrentPreset());
}

bool Tarsyn7::PasteProgram(bool skipSequence) {
  std::lock_guard<ReentrantLock> guard(Lock());
  if (!HasCopiedProgram() || ReadStateParts(copiedState_, 0, false, skipSequence) < 0) {
    return false;
  }
  ModifyCurrentPreset(copiedName_.c_str());
  RefreshControls();
  TellHostAllParameters();
  return true;
}

// The copied record's extension sets "Legacy Mode" even when only its sequence is
// taken; that parameter's reaction re-derives everything the calibration touches, so the
// engine plays as after loading the resulting program.
bool Tarsyn7::PasteSequence() {
  std::lock_guard<ReentrantLock> guard(Lock());
  if (!HasCopiedProgram() || ReadStateParts(copiedState_, 0, true, false) < 0) return false;
  RefreshControls();
  TellHostAllParameters();
  return true;
}

void Tarsyn7::InitProgram() {
  std::lock_guard<ReentrantLock> guard(Lock());
  chordNotes_.clear();
  SetSequence({});  // a recording in progress ends first
  for (int i = 0; i < ParameterCount(); ++i) {
    Parameter* parameter = GetParameter(i);
    parameter->Set(parameter->Clamp(parameter->Default()));
    ParameterChanged(i);
  }
  const int slot = CurrentPreset();
  char name[32];
  std::snprintf(name, sizeof name, "Program %i-%i", slot / 8 + 1, slot % 8 + 1);
  ModifyCurrentPreset(name);
  RefreshControls();
  TellHostAllParameters();
}
