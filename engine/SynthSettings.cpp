#include <mutex>

#include "engine/Synth.h"

// File work happens outside the lock, so the audio thread never waits for the disk; only
// taking or swapping in the values holds it.

bool Synth::ReadConfiguration() {
  const std::optional<IniFile> file = configuration_.ReadFile();
  if (!file) return false;
  std::lock_guard<ReentrantLock> guard(Lock());
  configuration_.Apply(*file);
  return true;
}

bool Synth::WriteConfiguration(Configuration::Setting which) {
  Configuration snapshot;
  {
    std::lock_guard<ReentrantLock> guard(Lock());
    snapshot = configuration_;
  }
  return snapshot.Write(which);
}

bool Synth::FlipSwitch(Configuration::Setting which) {
  bool on = false;
  {
    std::lock_guard<ReentrantLock> guard(Lock());
    on = !configuration_.Switch(which);
    configuration_.SetSwitch(which, on);
    if (configuration_.Switch(which) != on) return false;  // not a switch
  }
  WriteConfiguration(which);
  return on;
}

bool Synth::SetStartupBank(const std::string& path) {
  {
    std::lock_guard<ReentrantLock> guard(Lock());
    configuration_.SetStartupBank(path);
  }
  return WriteConfiguration(Configuration::kStartupBank);
}

bool Synth::SetProgramFilesFolder(const std::string& folder) {
  {
    std::lock_guard<ReentrantLock> guard(Lock());
    configuration_.SetProgramFilesFolder(folder);
  }
  return WriteConfiguration(Configuration::kProgramFilesFolder);
}

void Synth::ArmLearn(bool on, bool forget) {
  std::lock_guard<ReentrantLock> guard(Lock());
  midiLearn_.Arm(on, forget);
}

int Synth::ControllerOfParameter(int parameter) {
  std::lock_guard<ReentrantLock> guard(Lock());
  const ControllerMap& map = configuration_.Controllers();
  for (size_t controller = 0; controller < map.size(); ++controller) {
    if (parameter >= 0 && map[controller] == parameter) return static_cast<int>(controller);
  }
  return -1;
}

void Synth::IdleTick() {
  WriteLearnedBindings();
}

void Synth::WriteLearnedBindings() {
  bool changed = false;
  {
    std::lock_guard<ReentrantLock> guard(Lock());
    changed = midiLearn_.TakeChange();
  }
  if (changed) WriteConfiguration(Configuration::kControllerMap);
}

Synth::Reapplication::Reapplication(Synth& synth) : synth_(synth) {
  ++synth_.reapplying_;
}

Synth::Reapplication::~Reapplication() {
  --synth_.reapplying_;
}
