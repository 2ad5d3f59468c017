#pragma once

#include <string>
#include <vector>

// One automatable value: a plain value in its own range, seen by the host and the
// editor as a normalised 0..1 value.
class Parameter {
 public:
  enum Type { kTypeNone = 0, kTypeBool = 1, kTypeInt = 2, kTypeEnum = 3, kTypeDouble = 4 };
  static constexpr int kMaxTextLength = 31;  // names and display texts, without terminator

  // Writes the display text of a plain value into a buffer of kMaxTextLength + 1 chars.
  using DisplayFunction = void (*)(double value, char* text);

  struct ValueText {
    int value;
    std::string text;
  };

  void InitDouble(const char* name, double defaultValue, double minimum, double maximum,
                  double step, double shape = 1.0);
  void InitInt(const char* name, int defaultValue, int minimum, int maximum);
  void InitBool(const char* name);  // always defaults to 1 ("on")
  void InitEnum(const char* name, int defaultValue, const char* text0, const char* text1);

  void SetDisplayFunction(DisplayFunction function) { displayFunction_ = function; }
  void SetNegateDisplay(bool negate) { negateDisplay_ = negate; }
  void SetDisplayText(int value, const char* text);

  // Plain value as given (readers of stored state clamp before calling).
  void Set(double value) { value_ = value; }
  // The normalisation rule: shape curve, then step rounding unless continuous, capped at max.
  // Input outside 0..1 (or not a number) is first brought into 0..1.
  void SetNormalized(double normalized);
  double Value() const { return value_; }
  double Normalized() const { return ToNormalized(value_); }
  double ToNormalized(double value) const;
  double FromNormalized(double normalized) const;
  double Clamp(double value) const;  // not-a-number gives the minimum

  // Display text of a plain value; texts from the value-to-text table when `withTexts`.
  std::string DisplayText(double value, bool withTexts = true) const;
  std::string DisplayText() const { return DisplayText(value_); }
  // Empty when the value shows a display text, else the unit label.
  const std::string& Label() const;
  // The table entry of a text, or false when no entry has exactly that text.
  bool ValueOfText(const std::string& text, int& value) const;

  Type GetType() const { return type_; }
  const std::string& Name() const { return name_; }
  double Minimum() const { return min_; }
  double Maximum() const { return max_; }
  double Step() const { return step_; }
  double Shape() const { return shape_; }
  double Default() const { return default_; }
  int Precision() const { return precision_; }
  bool NegateDisplay() const { return negateDisplay_; }
  bool CanAutomate() const { return canAutomate_; }
  bool HasDisplayTexts() const { return !displayTexts_.empty(); }
  const std::vector<ValueText>& DisplayTexts() const { return displayTexts_; }

 private:
  const ValueText* TextEntryFor(double value) const;
  void SetName(const char* name);

  DisplayFunction displayFunction_ = nullptr;
  Type type_ = kTypeNone;
  double value_ = 0.0;
  double min_ = 0.0;
  double max_ = 0.0;
  double step_ = 1.0;
  double shape_ = 1.0;
  double default_ = 0.0;
  int precision_ = 0;
  std::string name_;
  std::string label_;
  std::string group_;
  bool negateDisplay_ = false;
  bool canAutomate_ = true;
  std::vector<ValueText> displayTexts_;
};
