#include "resources/generator/BankSource.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

constexpr int kDefaultVelocity = 100;

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, separator)) parts.push_back(Trim(part));
  return parts;
}

class Parser {
 public:
  Parser(const std::string& fileName) : fileName_(fileName) {}

  [[noreturn]] void Fail(const std::string& what) const {
    throw SourceError(fileName_ + ":" + std::to_string(line_) + ": " + what);
  }

  int Integer(const std::string& text) const {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0') Fail("\"" + text + "\" is not a whole number");
    return static_cast<int>(value);
  }

  // "C4" is MIDI note 60; "#" raises and "b" lowers by a semitone.
  int Note(const std::string& text) const {
    static const int kSteps[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (letter < 'A' || letter > 'G') Fail("\"" + text + "\" is not a note");
    int note = kSteps[letter - 'A'];
    size_t next = 1;
    if (next < text.size() && (text[next] == '#' || text[next] == 'b')) {
      note += text[next++] == '#' ? 1 : -1;
    }
    note += 12 * (Integer(text.substr(next)) + 1);
    if (note < 0 || note > 127) Fail("\"" + text + "\" is outside the MIDI notes");
    return note;
  }

  SequenceStep Step(const std::string& token) const {
    if (token == ".") return {false, {}};
    if (token == "~") return {true, {}};
    SequenceStep step{false, {}};
    for (const std::string& part : Split(token, '+')) {
      const size_t at = part.find('@');
      const int velocity =
          at == std::string::npos ? kDefaultVelocity : Integer(part.substr(at + 1));
      if (velocity < 1 || velocity > 127) Fail("velocity " + std::to_string(velocity));
      step.notes.push_back({Note(part.substr(0, at)), velocity});
    }
    return step;
  }

  void BankSetting(const std::string& key, const std::string& value, BankSource& bank) const {
    if (key == "format version") {
      bank.formatVersion = Integer(value);
    } else if (key == "plug-in version") {
      bank.pluginVersion = Integer(value);
    } else if (key == "hardware values") {
      if (value != "yes" && value != "no") Fail("hardware values are yes or no");
      bank.hardwareValues = value == "yes";
    } else {
      Fail("unknown bank setting \"" + key + "\"");
    }
  }

  void ListSetting(const std::string& key, const std::string& value, SourceProgram& program) const {
    std::stringstream tokens(value);
    std::string token;
    if (key == "Chord") {
      while (tokens >> token) program.chord.push_back(Integer(token));
    } else if (key == "Sequence") {
      while (tokens >> token) program.sequence.push_back(Step(token));
    } else {
      Fail("only Chord and Sequence take \"=\"");
    }
  }

  // "GROUP: Name value, Name value" or "Name value, Name value".
  void Settings(const std::string& text, std::vector<SourceSetting>& settings) const {
    std::string prefix;
    std::string items = text;
    const size_t colon = text.find(':');
    if (colon != std::string::npos) {
      prefix = Trim(text.substr(0, colon)) + " ";
      items = text.substr(colon + 1);
    }
    for (const std::string& item : Split(items, ',')) {
      const size_t space = item.find_last_of(" \t");
      if (space == std::string::npos) Fail("\"" + item + "\" needs a name and a value");
      settings.push_back({prefix + Trim(item.substr(0, space)), item.substr(space + 1), line_});
    }
  }

  BankSource Parse(const std::string& text) {
    BankSource bank;
    std::stringstream lines(text);
    std::string raw;
    while (std::getline(lines, raw)) {
      ++line_;
      const std::string content = Trim(raw.substr(0, raw.find('#')));
      if (content.empty()) continue;
      if (content.front() == '[') {
        if (content.back() != ']') Fail("a program name ends with \"]\"");
        bank.programs.push_back({content.substr(1, content.size() - 2), line_, {}, {}, {}});
        continue;
      }
      const size_t equals = content.find('=');
      if (equals != std::string::npos) {
        const std::string key = Trim(content.substr(0, equals));
        const std::string value = Trim(content.substr(equals + 1));
        if (bank.programs.empty()) {
          BankSetting(key, value, bank);
        } else {
          ListSetting(key, value, bank.programs.back());
        }
      } else {
        Settings(content, bank.programs.empty() ? bank.common : bank.programs.back().settings);
      }
    }
    return bank;
  }

 private:
  std::string fileName_;
  int line_ = 0;
};

}  // namespace

BankSource ParseBankSource(const std::string& text, const std::string& fileName) {
  return Parser(fileName).Parse(text);
}
