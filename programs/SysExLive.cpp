#include <mutex>

#include "engine/Tarsyn7.h"
#include "programs/SysEx.h"

// Runs on the audio thread: only copies into the receiver's fixed buffer.
void Tarsyn7::HandleSysEx(const SysExMessage& message) {
  std::lock_guard<ReentrantLock> guard(Lock());
  sysExIn_.Take(message);
}

void Tarsyn7::IdleTick() {
  Synth::IdleTick();
  ApplyReceivedSysEx();
  RedrawPanelDisplays();
}

// A broken or partial dump is dropped and changes nothing.
void Tarsyn7::ApplyReceivedSysEx() {
  std::lock_guard<ReentrantLock> guard(Lock());
  if (!sysExIn_.Complete()) return;
  const SysExDump dump = ParseSysExDump(sysExIn_.Data(), sysExIn_.Size());
  sysExIn_.Clear();
  if (dump.image) ApplyHardwarePrograms(*dump.image);
}

bool Tarsyn7::QueueSysExBank(int model) {
  HardwareLayout layout;
  if (!LayoutOfModel(model, layout)) return false;
  std::vector<uint8_t> dump = BuildSysExDump(model, BankAsHardwareImage(layout));
  std::lock_guard<ReentrantLock> guard(Lock());
  sysExOut_.swap(dump);
  sysExOutQueued_ = true;
  return true;
}

// Hosts take outgoing events during the process call; the bytes stay in place until the
// next dump is queued.
void Tarsyn7::SendQueuedSysEx() {
  if (!sysExOutQueued_) return;
  sysExOutQueued_ = false;
  SendSysExData({0, static_cast<int32_t>(sysExOut_.size()), sysExOut_.data()});
}
