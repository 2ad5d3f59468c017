#include "programs/TapeReadSettings.h"

#include <mutex>

namespace {

std::mutex& SettingsMutex() {
  static std::mutex mutex;
  return mutex;
}

TapeReadSettings& Settings() {
  static TapeReadSettings settings;
  return settings;
}

}  // namespace

bool TapeReadSettings::operator==(const TapeReadSettings& other) const {
  return highpassEnabled == other.highpassEnabled && lowpassEnabled == other.lowpassEnabled &&
         highpassFrequency == other.highpassFrequency &&
         lowpassFrequency == other.lowpassFrequency && threshold == other.threshold;
}

TapeReadSettings SharedTapeReadSettings() {
  std::lock_guard<std::mutex> guard(SettingsMutex());
  return Settings();
}

void SetSharedTapeReadSettings(const TapeReadSettings& settings) {
  std::lock_guard<std::mutex> guard(SettingsMutex());
  Settings() = settings;
}
