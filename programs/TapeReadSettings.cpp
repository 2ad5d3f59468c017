#include "programs/TapeReadSettings.h"

#include <mutex>

#include "platform/ReentrantLock.h"

namespace {

ReentrantLock& SettingsLock() {
  static ReentrantLock lock;
  return lock;
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
  std::lock_guard<ReentrantLock> guard(SettingsLock());
  return Settings();
}

void SetSharedTapeReadSettings(const TapeReadSettings& settings) {
  std::lock_guard<ReentrantLock> guard(SettingsLock());
  Settings() = settings;
}
