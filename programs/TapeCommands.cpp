#include "engine/Tarsyn7.h"
#include "programs/TapeImage.h"
#include "programs/WholeFile.h"

namespace {

using ToolCommands::TapeRequest;

// The process's settings with the request's choices in place of the configured ones.
TapeReadSettings RequestedSettings(const TapeRequest& request) {
  TapeReadSettings settings = SharedTapeReadSettings();
  if (request.threshold != TapeRequest::kConfigured) settings.threshold = request.threshold;
  if (request.highpass != TapeRequest::kConfigured) {
    settings.highpassEnabled = request.highpass > 0;
    if (request.highpass > 0) settings.highpassFrequency = request.highpass;
  }
  if (request.lowpass != TapeRequest::kConfigured) {
    settings.lowpassEnabled = request.lowpass > 0;
    if (request.lowpass > 0) settings.lowpassFrequency = request.lowpass;
  }
  return settings;
}

bool Within(int32_t value, int32_t minimum, int32_t maximum) {
  return value >= minimum && value <= maximum;
}

bool FilterValid(int32_t frequency) {
  return frequency == TapeRequest::kConfigured || frequency == 0 ||
         Within(frequency, TapeReadSettings::kMinimumFrequency,
                TapeReadSettings::kMaximumFrequency);
}

// A caller's numbers within the limits the tape dialog and the writer accept.
bool RequestValid(const TapeRequest& request) {
  return request.path &&
         (request.threshold == TapeRequest::kConfigured ||
          Within(request.threshold, TapeReadSettings::kMinimumThreshold,
                 TapeReadSettings::kMaximumThreshold)) &&
         FilterValid(request.highpass) && FilterValid(request.lowpass) &&
         Within(request.sampleRate, TapeRequest::kMinimumSampleRate,
                TapeRequest::kMaximumSampleRate);
}

}  // namespace

bool Tarsyn7::LoadTapeBank(const std::string& path, bool& isPoly800II, std::string& error) {
  if (!LoadTapeBank(path, SharedTapeReadSettings(), isPoly800II, error)) return false;
  WriteConfiguration(Configuration::kTapeRead);
  return true;
}

bool Tarsyn7::LoadTapeBank(const std::string& path, const TapeReadSettings& settings,
                           bool& isPoly800II, std::string& error) {
  const TapeImage tape = ReadTapeImage(path, settings);
  error = tape.error;
  if (!tape.image) return false;
  isPoly800II = tape.image->Layout() == HardwareLayout::kPoly800II;
  ApplyHardwarePrograms(*tape.image, true);
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

bool Tarsyn7::RunTapeToolCommand(int32_t command, const TapeRequest& request) {
  if (!RequestValid(request)) return false;
  if (command == ToolCommands::kLoadTapeBank) {
    bool isPoly800II = false;
    std::string error;
    return LoadTapeBank(request.path, RequestedSettings(request), isPoly800II, error);
  }
  WavFormat format;
  format.sampleRate = request.sampleRate;
  return SaveTape(request.path,
                  command == ToolCommands::kSaveTapePoly800II ? HardwareLayout::kPoly800II
                                                              : HardwareLayout::kPoly800,
                  format);
}
