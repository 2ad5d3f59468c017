// libFuzzer target: every input is a settings file. Reading it twice gives the same text
// (what is written reads back unchanged), and the configuration takes it in whole: bound
// controllers name real parameters, tape numbers stay within the dialog's limits.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "programs/Configuration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const IniFile file = IniFile::Parse({reinterpret_cast<const char*>(data), size});
  const std::string text = file.Text();
  if (IniFile::Parse(text).Text() != text) std::abort();

  Configuration configuration;
  configuration.Apply(file);
  for (const int parameter : configuration.Controllers()) {
    if (parameter < -1 || parameter > 79) std::abort();
  }
  const TapeReadSettings tape = SharedTapeReadSettings();
  if (tape.threshold < TapeReadSettings::kMinimumThreshold ||
      tape.threshold > TapeReadSettings::kMaximumThreshold ||
      tape.highpassFrequency < TapeReadSettings::kMinimumFrequency ||
      tape.lowpassFrequency > TapeReadSettings::kMaximumFrequency) {
    std::abort();
  }
  return 0;
}
