#pragma once

// The tape decoder's filters and detection threshold. One set per process, shared by every
// plug-in instance; the limits are those the tape dialog accepts.
struct TapeReadSettings {
  static constexpr int kMinimumFrequency = 1;
  static constexpr int kMaximumFrequency = 99999;  // five digits
  static constexpr int kMinimumThreshold = 1;
  static constexpr int kMaximumThreshold = 99;  // percent, two digits

  bool highpassEnabled = false;
  bool lowpassEnabled = false;
  int highpassFrequency = 330;
  int lowpassFrequency = 5000;
  int threshold = 50;

  bool operator==(const TapeReadSettings& other) const;
};

// The process's settings (a copy) and their replacement; safe from any thread.
TapeReadSettings SharedTapeReadSettings();
void SetSharedTapeReadSettings(const TapeReadSettings& settings);
