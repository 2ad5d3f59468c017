#include "update/VersionNumber.h"

#include <tuple>

namespace {

std::string Trimmed(const std::string& text) {
  const char* space = " \t\r\n";
  const size_t first = text.find_first_not_of(space);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(space) - first + 1);
}

}  // namespace

std::optional<VersionNumber> VersionNumber::Parse(const std::string& answer) {
  const std::string digits = Trimmed(answer);
  if (digits.size() < 3 || digits.size() > 9 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const std::string patch =
      (digits[2] == '0' && digits.size() > 3) ? digits.substr(3) : digits.substr(2);
  VersionNumber version;
  version.major = digits[0] - '0';
  version.minor = digits[1] - '0';
  version.patch = std::stoi(patch);
  version.text = std::string(1, digits[0]) + "." + digits[1] + "." + patch;
  return version;
}

bool VersionNumber::IsNewerThan(const VersionNumber& other) const {
  return std::tie(major, minor, patch) > std::tie(other.major, other.minor, other.patch);
}
