#include "programs/Configuration.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "platform/ReentrantLock.h"

#include "platform/UserFolders.h"

namespace {

constexpr const char* kVendorFolder = "CorvaneMusic";
constexpr const char* kFileName = "tarsyn7.ini";
constexpr int kLastParameter = 79;

constexpr const char* kStartupBankSection = "Startup Bank";
constexpr const char* kEditor = "Editor";
constexpr const char* kGlobal = "Global";
constexpr const char* kMidiGlobal = "MIDI Global";
constexpr const char* kTapeReadSection = "Tape Read";
constexpr const char* kMidiControl = "MIDI Control";

// Instances of one process share the file: one read-change-write at a time.
ReentrantLock& FileLock() {
  static ReentrantLock lock;
  return lock;
}

// A decimal integer at the start of the text (as the C library's atoi reads it, but
// without its overflow): none when no digit starts it or it does not fit.
std::optional<int> LeadingInteger(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data()) return std::nullopt;
  return value;
}

bool IsTrue(std::string_view text) {
  return text.size() == 4 && std::equal(text.begin(), text.end(), "true", [](char a, char b) {
           return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
         });
}

const char* Text(bool on) {
  return on ? "true" : "false";
}

std::string ControllerKey(int controller) {
  return "CC" + std::to_string(controller);
}

// Present and not empty: an empty value leaves its setting unchanged.
std::optional<std::string> Value(const IniFile& file, const char* section, const char* key) {
  std::optional<std::string> value = file.Get(section, key);
  if (value && value->empty()) return std::nullopt;
  return value;
}

void ReadSwitch(const IniFile& file, const char* section, const char* key, bool& on) {
  if (const auto value = Value(file, section, key)) on = IsTrue(*value);
}

// An absent tape key reads as its default. A number counts when it is above 0 and not
// written with a leading zero (else the setting keeps its value), held within what the
// tape dialog accepts.
std::string TapeValue(const IniFile& file, const char* key, const std::string& absent) {
  return file.Get(kTapeReadSection, key).value_or(absent);
}

void ReadTapeSwitch(const IniFile& file, const char* key, bool& on) {
  const std::string value = TapeValue(file, key, "false");
  if (!value.empty()) on = IsTrue(value);
}

void ReadTapeNumber(const IniFile& file, const char* key, int absent, int minimum, int maximum,
                    int& number) {
  const std::string value = TapeValue(file, key, std::to_string(absent));
  if (value.empty() || value.front() == '0') return;
  const std::optional<int> parsed = LeadingInteger(value);
  if (parsed && *parsed > 0) number = std::clamp(*parsed, minimum, maximum);
}

TapeReadSettings ReadTapeSettings(const IniFile& file) {
  const TapeReadSettings defaults;
  TapeReadSettings tape = SharedTapeReadSettings();
  ReadTapeSwitch(file, "Highpass Enabled", tape.highpassEnabled);
  ReadTapeSwitch(file, "Lowpass Enabled", tape.lowpassEnabled);
  const int low = TapeReadSettings::kMinimumFrequency;
  const int high = TapeReadSettings::kMaximumFrequency;
  ReadTapeNumber(file, "Highpass Frequency", defaults.highpassFrequency, low, high,
                 tape.highpassFrequency);
  ReadTapeNumber(file, "Lowpass Frequency", defaults.lowpassFrequency, low, high,
                 tape.lowpassFrequency);
  ReadTapeNumber(file, "Threshold", defaults.threshold, TapeReadSettings::kMinimumThreshold,
                 TapeReadSettings::kMaximumThreshold, tape.threshold);
  return tape;
}

// A parameter index 0-79; anything else leaves the controller unbound.
int ReadBinding(const IniFile& file, int controller) {
  const auto value = file.Get(kMidiControl, ControllerKey(controller));
  if (!value) return -1;
  const std::optional<int> parameter = LeadingInteger(*value);
  return parameter && *parameter >= 0 && *parameter <= kLastParameter ? *parameter : -1;
}

bool StoreTapeSettings(IniFile& file) {
  const TapeReadSettings tape = SharedTapeReadSettings();
  return file.Set(kTapeReadSection, "Highpass Enabled", Text(tape.highpassEnabled)) &&
         file.Set(kTapeReadSection, "Lowpass Enabled", Text(tape.lowpassEnabled)) &&
         file.Set(kTapeReadSection, "Highpass Frequency", std::to_string(tape.highpassFrequency)) &&
         file.Set(kTapeReadSection, "Lowpass Frequency", std::to_string(tape.lowpassFrequency)) &&
         file.Set(kTapeReadSection, "Threshold", std::to_string(tape.threshold));
}

}  // namespace

std::string Configuration::StandardFilePath() {
  namespace fs = std::filesystem;
  const std::string appData = LocalAppDataFolder();
  if (appData.empty()) return {};
  const std::string folder = appData + PathSeparator() + kVendorFolder;
  const std::string path = folder + PathSeparator() + kFileName;
  std::error_code error;
  fs::create_directories(fs::u8path(folder), error);
  if (!fs::exists(fs::u8path(path), error)) std::ofstream(fs::u8path(path), std::ios::app);
  return path;
}

Configuration::Configuration(std::string filePath) : filePath_(std::move(filePath)) {
  controllers_.fill(-1);
}

std::optional<IniFile> Configuration::ReadFile() const {
  if (filePath_.empty()) return std::nullopt;
  return IniFile::Load(filePath_);
}

void Configuration::Apply(const IniFile& file) {
  startupBank_ = file.Get(kStartupBankSection, "File").value_or("");
  if (const auto show = Value(file, kEditor, "Show Parameters")) showParameters_ = IsTrue(*show);
  if (const auto folder = Value(file, kGlobal, "Path to Program Files")) {
    programFilesFolder_ = *folder;
  }
  ReadSwitch(file, kMidiGlobal, "MIDI Thru", midiThru_);
  ReadSwitch(file, kMidiGlobal, "Ignore Program Change", ignoreProgramChange_);
  // Only the exact lower-case word switches the breath controller on.
  if (const auto breath = Value(file, kMidiGlobal, "Use Breath Controller")) {
    useBreathController_ = *breath == "true";
  }
  SetSharedTapeReadSettings(ReadTapeSettings(file));
  for (int controller = 0; controller < MidiLearn::kControllerCount; ++controller) {
    controllers_[static_cast<size_t>(controller)] = ReadBinding(file, controller);
  }
}

const bool* Configuration::SwitchMember(Setting which) const {
  switch (which) {
    case kShowParameters:
      return &showParameters_;
    case kMidiThru:
      return &midiThru_;
    case kIgnoreProgramChange:
      return &ignoreProgramChange_;
    case kUseBreathController:
      return &useBreathController_;
    default:
      return nullptr;
  }
}

bool Configuration::Switch(Setting which) const {
  const bool* member = SwitchMember(which);
  return member && *member;
}

void Configuration::SetSwitch(Setting which, bool on) {
  if (const bool* member = SwitchMember(which)) *const_cast<bool*>(member) = on;
}

bool Configuration::Read() {
  const std::optional<IniFile> file = ReadFile();
  if (!file) return false;
  Apply(*file);
  return true;
}

// Reads the file afresh (other instances may have written it), changes it and replaces it.
// A file that exists but cannot be read is left alone rather than overwritten.
bool Configuration::Write(Setting which) const {
  if (filePath_.empty()) return false;
  std::lock_guard<ReentrantLock> guard(FileLock());
  std::error_code error;
  std::optional<IniFile> file = IniFile::Load(filePath_);
  if (!file) {
    if (std::filesystem::exists(std::filesystem::u8path(filePath_), error)) return false;
    file = IniFile();
  }
  return Store(which, *file) && file->Save(filePath_);
}

bool Configuration::Store(Setting which, IniFile& file) const {
  switch (which) {
    case kShowParameters:
      return file.Set(kEditor, "Show Parameters", Text(showParameters_));
    case kMidiThru:
      return file.Set(kMidiGlobal, "MIDI Thru", Text(midiThru_));
    case kIgnoreProgramChange:
      return file.Set(kMidiGlobal, "Ignore Program Change", Text(ignoreProgramChange_));
    case kUseBreathController:
      return file.Set(kMidiGlobal, "Use Breath Controller", Text(useBreathController_));
    case kTapeRead:
      return StoreTapeSettings(file);
    case kControllerMap: {
      IniFile::Entries entries;
      for (int controller = 0; controller < MidiLearn::kControllerCount; ++controller) {
        const int parameter = controllers_[static_cast<size_t>(controller)];
        if (parameter >= 0)
          entries.emplace_back(ControllerKey(controller), std::to_string(parameter));
      }
      return file.ReplaceSection(kMidiControl, entries);
    }
    case kStartupBank:
      return file.ReplaceSection(kStartupBankSection, {{"File", startupBank_}});
    case kProgramFilesFolder:
      return file.Set(kGlobal, "Path to Program Files", programFilesFolder_);
    case kEverything:
      break;
  }
  for (const Setting setting : {kShowParameters, kMidiThru, kIgnoreProgramChange,
                                kUseBreathController, kTapeRead, kControllerMap, kStartupBank}) {
    if (!Store(setting, file)) return false;
  }
  return true;
}
