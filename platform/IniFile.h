#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// An INI file held in memory, read and written by the private-profile rules of Windows, so
// every platform reads a file the same way: section and key names compare without regard
// to ASCII case, names and values are trimmed of blanks, a value enclosed in matching
// single or double quotes loses them, and where a section or a key appears twice the
// first one counts. Lines that are not entries (comments, blanks, stray text) are kept.
class IniFile {
 public:
  using Entries = std::vector<std::pair<std::string, std::string>>;

  static IniFile Parse(std::string_view text);
  // The file's contents; none when it cannot be read. A missing file answers none too.
  static std::optional<IniFile> Load(const std::string& path);

  // The text to store; lines end in '\n'.
  std::string Text() const;
  // Writes the text to a temporary file beside `path` and renames it over `path`, so a
  // failed write leaves the old file whole. False when anything failed.
  bool Save(const std::string& path) const;

  // The value of a key, or none when the section or the key is absent.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Replaces the first entry of the key or appends one (and the section when missing). A
  // value with outer blanks or quotes is stored quoted, so it reads back the same. Refuses
  // (false, nothing changed) what cannot be stored: line breaks anywhere, '=' or a leading
  // '[' or ';' in a key, ']' in a section name, empty names.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  // Replaces every entry of the section by `entries` (creating it when missing). All or
  // nothing: false and nothing changed when one of them is refused.
  bool ReplaceSection(std::string_view section, const Entries& entries);

 private:
  struct Line {
    std::string key;    // empty for lines that are not entries
    std::string value;  // trimmed, quotes still on
    std::string text;   // the line as read, for lines that are not entries
  };
  struct Section {
    std::string name;  // empty for the lines before the first header
    std::string header;
    std::vector<Line> lines;
  };

  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;
  Section& SectionForWriting(std::string_view name);

  std::vector<Section> sections_;
};
