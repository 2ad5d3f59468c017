#pragma once

#include <optional>
#include <string>

// A released version as the update service writes it: 3 to 9 decimal digits, the first the
// major number, the second the minor, the rest the patch with one leading zero allowed
// ("2502" is 2.5.2, "2510" is 2.5.10).
struct VersionNumber {
  int major = 0;
  int minor = 0;
  int patch = 0;
  std::string text;  // "2.5.10"

  // The service's answer without surrounding white space; nothing for anything else.
  static std::optional<VersionNumber> Parse(const std::string& answer);
  bool IsNewerThan(const VersionNumber& other) const;
};
