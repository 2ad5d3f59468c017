#include "engine/Tarsyn7.h"
#include "programs/TapeImage.h"
#include "programs/WholeFile.h"

bool Tarsyn7::LoadTapeBank(const std::string& path, bool& isPoly800II, std::string& error) {
  const TapeImage tape = ReadTapeImage(path, SharedTapeReadSettings());
  error = tape.error;
  if (!tape.image) return false;
  isPoly800II = tape.image->Layout() == HardwareLayout::kPoly800II;
  ApplyHardwarePrograms(*tape.image, true);
  WriteConfiguration(Configuration::kTapeRead);
  return true;
}

bool Tarsyn7::LoadTapeSequence(const std::string& path, std::string& error) {
  const TapeImage tape = ReadTapeImage(path, SharedTapeReadSettings());
  error = tape.error;
  if (!tape.image) return false;
  ApplyHardwareSequence(*tape.image);
  WriteConfiguration(Configuration::kTapeRead);
  return true;
}

bool Tarsyn7::SaveTape(const std::string& path, HardwareLayout layout, const WavFormat& format) {
  if (path.empty()) return false;
  return WriteWholeFile(path, TapeRecordingOf(BankAsHardwareImage(layout), format));
}
