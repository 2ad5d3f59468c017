#pragma once

// Client of an MTS-ESP microtuning master. Without a connection to the tuning library it
// plays 12-tone equal temperament and filters no note, exactly as if it were absent.
class MicrotuningClient {
 public:
  bool HasMaster() const { return false; }
  bool ShouldFilterNote(int /*key*/) const { return false; }
  // Pitch index of a key: key * 128 in equal temperament.
  double PitchIndexForKey(int key) const { return key * 128.0; }
};
