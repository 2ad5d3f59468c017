#include "host/Parameter.h"

#include <algorithm>
#include <cmath>

#include "host/NumberText.h"

namespace {

constexpr int kMaxPrecision = 6;

// Decimal places of a step: how often it must be multiplied by 10 to become whole.
int PrecisionOfStep(double step) {
  int places = 0;
  while (places < kMaxPrecision && step != std::floor(step)) {
    step *= 10.0;
    ++places;
  }
  return places;
}

std::string Truncated(const char* text) {
  std::string result = text ? text : "";
  if (result.size() > static_cast<size_t>(Parameter::kMaxTextLength)) {
    result.resize(Parameter::kMaxTextLength);
  }
  return result;
}

}  // namespace

void Parameter::SetName(const char* name) {
  name_ = Truncated(name);
  label_.clear();
  group_.clear();
}

void Parameter::InitDouble(const char* name, double defaultValue, double minimum, double maximum,
                           double step, double shape) {
  if (type_ == kTypeNone) type_ = kTypeDouble;
  SetName(name);
  min_ = minimum;
  default_ = value_ = defaultValue;
  step_ = step;
  max_ = std::max(maximum, minimum + step);
  precision_ = PrecisionOfStep(step);
  if (shape != 0.0) shape_ = shape;
}

void Parameter::InitInt(const char* name, int defaultValue, int minimum, int maximum) {
  if (type_ == kTypeNone) type_ = kTypeInt;
  InitDouble(name, defaultValue, minimum, maximum, 1.0);
}

void Parameter::InitBool(const char* name) {
  if (type_ == kTypeNone) type_ = kTypeBool;
  InitDouble(name, 1.0, 0.0, 1.0, 1.0);
  SetDisplayText(0, "off");
  SetDisplayText(1, "on");
}

void Parameter::InitEnum(const char* name, int defaultValue, const char* text0, const char* text1) {
  if (type_ == kTypeNone) type_ = kTypeEnum;
  InitDouble(name, defaultValue, 0.0, 1.0, 1.0);
  SetDisplayText(0, text0);
  SetDisplayText(1, text1);
}

void Parameter::SetDisplayText(int value, const char* text) {
  for (ValueText& entry : displayTexts_) {
    if (entry.value == value) {
      entry.text = Truncated(text);
      return;
    }
  }
  displayTexts_.push_back({value, Truncated(text)});
}

double Parameter::Clamp(double value) const {
  if (!(value >= min_)) return min_;
  return std::min(value, max_);
}

double Parameter::ToNormalized(double value) const {
  const double linear = (Clamp(value) - min_) / (max_ - min_);
  return shape_ == 1.0 ? linear : std::pow(linear, 1.0 / shape_);
}

double Parameter::FromNormalized(double normalized) const {
  if (!(normalized >= 0.0)) normalized = 0.0;
  if (normalized > 1.0) normalized = 1.0;
  const double curved = shape_ == 1.0 ? normalized : std::pow(normalized, shape_);
  double value = curved * (max_ - min_) + min_;
  if (type_ != kTypeDouble) value = std::floor(value / step_ + 0.5) * step_;
  return std::min(value, max_);
}

void Parameter::SetNormalized(double normalized) {
  value_ = FromNormalized(normalized);
}

const Parameter::ValueText* Parameter::TextEntryFor(double value) const {
  const int whole = static_cast<int>(value);
  for (const ValueText& entry : displayTexts_) {
    if (entry.value == whole && !entry.text.empty()) return &entry;
  }
  return nullptr;
}

std::string Parameter::DisplayText(double value, bool withTexts) const {
  char text[kMaxTextLength + 1] = {};
  if (displayFunction_) {
    displayFunction_(value, text);
    return text;
  }
  if (withTexts) {
    if (const ValueText* entry = TextEntryFor(value)) return entry->text;
  }
  const double shown = negateDisplay_ ? -value : value;
  // Whole values are cut toward zero, never rounded; + 0.0 drops the sign of a zero.
  const std::string number =
      precision_ > 0 ? FormatDecimal(shown, precision_) : FormatDecimal(std::trunc(shown) + 0.0, 0);
  return Truncated(number.c_str());
}

const std::string& Parameter::Label() const {
  static const std::string kNoLabel;
  return TextEntryFor(value_) ? kNoLabel : label_;
}

bool Parameter::ValueOfText(const std::string& text, int& value) const {
  for (const ValueText& entry : displayTexts_) {
    if (entry.text == text) {
      value = entry.value;
      return true;
    }
  }
  return false;
}
