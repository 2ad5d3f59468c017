#pragma once

#include <string>

class IControl;
class Parameter;

// The in-place text entry's life: opened, drawn, then a commit or cancel requested by the
// window, carried out by the next timer tick.
class TextEntry {
 public:
  enum State { kIdle = 0, kFocused = 1, kDrawn = 2, kCancelRequested = 3, kCommitRequested = 4 };

  void Open(IControl* control, const Parameter* parameter, const std::string& text,
            int maxCharacters);
  void Close() { *this = TextEntry(); }

  bool IsOpen() const { return control_ != nullptr; }
  State GetState() const { return state_; }
  void SetState(State state) { state_ = state; }
  IControl* Control() const { return control_; }
  const Parameter* EditedParameter() const { return parameter_; }
  const std::string& InitialText() const { return initialText_; }

  // Whether the box takes a typed character: only digits and signs for whole-number
  // parameters, also a point for continuous ones, anything for plain text; and never a
  // character beyond the length limit.
  bool Accepts(char32_t character, const std::string& current) const;
  // At most the limit's number of characters of `text`, cut between UTF-8 characters.
  std::string Limited(const std::string& text) const;
  // The normalised value a committed text gives the edited parameter; false when the
  // text names no value (the parameter then keeps its value).
  bool ParameterValueOf(const std::string& text, double& normalized) const;

 private:
  IControl* control_ = nullptr;
  const Parameter* parameter_ = nullptr;
  std::string initialText_;
  int maxCharacters_ = 0;
  State state_ = kIdle;
};

// The first `count` UTF-8 characters of `text`.
std::string FirstCharacters(const std::string& text, size_t count);
// The number of UTF-8 characters in `text`.
size_t CharacterCount(const std::string& text);
