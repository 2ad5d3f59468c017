#pragma once

#include <memory>
#include <string>

#include "control/MicrotuningLibrary.h"

// One plug-in instance's connection to an MTS-ESP microtuning master. Registered with the
// library from creation to destruction. Without a master it plays 12-tone equal
// temperament, filters no note and shows nothing, exactly as if it were absent.
class MicrotuningClient {
 public:
  // Follows the library in the system's usual places.
  MicrotuningClient();
  explicit MicrotuningClient(std::shared_ptr<MicrotuningLibrary> library);
  ~MicrotuningClient();
  MicrotuningClient(const MicrotuningClient&) = delete;
  MicrotuningClient& operator=(const MicrotuningClient&) = delete;

  // Follows another library from now on (deregistering from the one before).
  void Connect(std::shared_ptr<MicrotuningLibrary> library);

  bool HasMaster() const { return library_->HasMaster(); }
  bool ShouldFilterNote(int key) const { return library_->ShouldFilterNote(key); }
  // Pitch index of a key: the master's frequency found in the pitch table (within 4 to
  // 17276), or key * 128 in equal temperament. Keys outside 0-127 and frequencies that
  // are not finite and positive stay in equal temperament.
  double PitchIndexForKey(int key) const;
  // "Micro Tuning: <scale name>" while a master is connected; empty otherwise.
  std::string DisplayText() const;

 private:
  std::shared_ptr<MicrotuningLibrary> library_;
};
