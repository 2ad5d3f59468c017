#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/DynamicLibrary.h"

// The MTS-ESP client library (LIBMTS), through which a microtuning master in the host
// publishes a frequency per MIDI note, notes to ignore and a scale name. Each of its
// functions is looked up on its own; a missing one disables only what needs it. Without
// the library, or without a master connected to it, nothing here has any effect.
class MicrotuningLibrary {
 public:
  // The first of the paths that loads; an offline record when none does.
  static std::shared_ptr<MicrotuningLibrary> Open(const std::vector<std::string>& paths);
  // The library in the system's usual places, loaded when the first client asks for it
  // and kept until the plug-in module unloads.
  static std::shared_ptr<MicrotuningLibrary> Standard();

  MicrotuningLibrary(const MicrotuningLibrary&) = delete;
  MicrotuningLibrary& operator=(const MicrotuningLibrary&) = delete;

  void RegisterClient() const;
  void DeregisterClient() const;
  // Asked afresh at every use: a master may connect or leave at any time.
  bool HasMaster() const;
  // The master's frequency of a key in hertz; 0 without a master or for a key outside
  // 0-127.
  double MasterFrequency(int key) const;
  bool ShouldFilterNote(int key) const;
  // The master's scale name; null without a master or without the function.
  const char* ScaleName() const;
  // Whether the master can name its scale.
  bool NamesScales() const { return getScaleName_ != nullptr; }

 private:
  using VoidFunction = void (*)();
  using BoolFunction = bool (*)();
  using FilterFunction = bool (*)(char, char);
  using TableFunction = const double* (*)();
  using TextFunction = const char* (*)();

  MicrotuningLibrary() = default;
  void Resolve();

  std::unique_ptr<DynamicLibrary> library_;
  VoidFunction registerClient_ = nullptr;
  VoidFunction deregisterClient_ = nullptr;
  BoolFunction hasMaster_ = nullptr;
  FilterFunction shouldFilterNote_ = nullptr;
  TextFunction getScaleName_ = nullptr;
  const double* table_ = nullptr;  // LIBMTS's own, updated in place
};
