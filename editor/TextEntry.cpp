#include "editor/TextEntry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "drawing/Font.h"
#include "host/Parameter.h"

size_t CharacterCount(const std::string& text) {
  size_t count = 0;
  for (size_t position = 0; position < text.size(); ++count) NextCharacter(text, position);
  return count;
}

void TextEntry::Open(IControl* control, const Parameter* parameter, const std::string& text,
                     int maxCharacters) {
  control_ = control;
  parameter_ = parameter;
  maxCharacters_ = maxCharacters;
  initialText_ = Limited(text);
  state_ = kFocused;
}

bool TextEntry::Accepts(char32_t character, const std::string& current) const {
  if (static_cast<int>(CharacterCount(current)) >= maxCharacters_) return false;
  if (character < 0x20 || character == 0x7F) return false;
  if (!parameter_) return true;
  bool sign = character == U'+' || character == U'-';
  bool digit = character >= U'0' && character <= U'9';
  if (parameter_->GetType() == Parameter::kTypeDouble) return digit || sign || character == U'.';
  return digit || sign;
}

std::string FirstCharacters(const std::string& text, size_t count) {
  size_t position = 0;
  for (size_t taken = 0; position < text.size() && taken < count; ++taken) {
    NextCharacter(text, position);
  }
  return text.substr(0, position);
}

std::string TextEntry::Limited(const std::string& text) const {
  return FirstCharacters(text, static_cast<size_t>(std::max(maxCharacters_, 0)));
}

bool TextEntry::ParameterValueOf(const std::string& text, double& normalized) const {
  if (!parameter_) return false;
  Parameter::Type type = parameter_->GetType();
  double plain = 0.0;
  int listed = 0;
  if ((type == Parameter::kTypeBool || type == Parameter::kTypeEnum) &&
      parameter_->ValueOfText(text, listed)) {
    plain = listed;
  } else {
    char* end = nullptr;
    plain = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(plain)) return false;
    if (parameter_->NegateDisplay()) plain = -plain;
  }
  normalized = parameter_->ToNormalized(parameter_->Clamp(plain));
  return true;
}
