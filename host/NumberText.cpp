#include "host/NumberText.h"

#include <charconv>
#include <cmath>

std::string FormatDecimal(double value, int decimals) {
  char text[400];  // the longest finite double in fixed notation with six decimals fits
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return "";
  return std::string(text, result.ptr);
}

bool ParseDecimal(const std::string& text, double& value) {
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return false;
  if (text[start] == '+') ++start;
  double parsed = 0.0;
  const char* first = text.data() + start;
  const auto result = std::from_chars(first, text.data() + text.size(), parsed);
  if (result.ec != std::errc() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}
