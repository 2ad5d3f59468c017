#include "platform/IniFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/FileAccess.h"

namespace {

constexpr std::string_view kBlanks = " \t\r";  // a stray CR counts as a blank
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::string_view WithoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

bool WritableSection(std::string_view name) {
  name = Trim(name);
  return !name.empty() && !HasLineBreak(name) && name.find(']') == std::string_view::npos;
}

bool WritableEntry(std::string_view key, std::string_view value) {
  key = Trim(key);
  return !key.empty() && key.front() != '[' && key.front() != ';' && !HasLineBreak(key) &&
         key.find('=') == std::string_view::npos && !HasLineBreak(value);
}

// A value that would change on reading (outer blanks, outer quotes) is stored quoted.
std::string Stored(std::string_view value) {
  if (Trim(value) == value && WithoutQuotes(value) == value) return std::string(value);
  return '"' + std::string(value) + '"';
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile file;
  while (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  file.sections_.emplace_back();
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    while (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    const std::string_view line = Trim(raw);
    const size_t close = line.find(']');
    if (!line.empty() && line.front() == '[' && close != std::string_view::npos) {
      file.sections_.push_back(
          {std::string(Trim(line.substr(1, close - 1))), std::string(raw), {}});
      continue;
    }
    const size_t equals = line.find('=');
    const std::string_view key =
        equals == std::string_view::npos ? "" : Trim(line.substr(0, equals));
    if (key.empty() || key.front() == ';') {
      file.sections_.back().lines.push_back({"", "", std::string(raw)});
    } else {
      file.sections_.back().lines.push_back(
          {std::string(key), std::string(Trim(line.substr(equals + 1))), ""});
    }
  }
  return file;
}

std::optional<IniFile> IniFile::Load(const std::string& path) {
  std::ifstream stream(std::filesystem::u8path(path), std::ios::binary);
  if (!stream) return std::nullopt;
  std::ostringstream text;
  text << stream.rdbuf();
  if (stream.bad()) return std::nullopt;
  return Parse(text.str());
}

std::string IniFile::Text() const {
  std::string text;
  for (const Section& section : sections_) {
    if (!section.header.empty()) text += section.header + '\n';  // "[]" too
    for (const Line& line : section.lines) {
      text += line.key.empty() ? line.text : line.key + '=' + line.value;
      text += '\n';
    }
  }
  // Reading skips byte-order marks at the start, so a first key must not begin with one (nor
  // with the blanks behind it, which reading would then trim).
  size_t start = 0;
  while (text.compare(start, kByteOrderMark.size(), kByteOrderMark) == 0) {
    start += kByteOrderMark.size();
    while (start < text.size() && kBlanks.find(text[start]) != std::string_view::npos) ++start;
  }
  return text.substr(start);
}

bool IniFile::Save(const std::string& path) const {
  namespace fs = std::filesystem;
  const std::string temporary = path + ".new";
  {
    std::ofstream stream(fs::u8path(temporary), std::ios::binary | std::ios::trunc);
    const std::string text = Text();
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    stream.close();
    if (!stream) {
      RemoveFile(temporary);
      return false;
    }
  }
  std::error_code error;
  fs::rename(fs::u8path(temporary), fs::u8path(path), error);
  if (error) RemoveFile(temporary);
  return !error;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  key = Trim(key);
  for (const Line& line : found->lines) {
    if (!line.key.empty() && SameName(line.key, key)) return std::string(WithoutQuotes(line.value));
  }
  return std::nullopt;
}

bool IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!WritableSection(section) || !WritableEntry(key, value)) return false;
  key = Trim(key);
  Section& target = SectionForWriting(section);
  for (Line& line : target.lines) {
    if (!line.key.empty() && SameName(line.key, key)) {
      line.value = Stored(value);
      return true;
    }
  }
  target.lines.push_back({std::string(key), Stored(value), ""});
  return true;
}

bool IniFile::ReplaceSection(std::string_view section, const Entries& entries) {
  if (!WritableSection(section)) return false;
  for (const auto& [key, value] : entries) {
    if (!WritableEntry(key, value)) return false;
  }
  Section& target = SectionForWriting(section);
  target.lines.clear();
  for (const auto& [key, value] : entries) {
    target.lines.push_back({std::string(Trim(key)), Stored(value), ""});
  }
  return true;
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
  return const_cast<Section*>(static_cast<const IniFile*>(this)->FindSection(name));
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  name = Trim(name);
  if (name.empty()) return nullptr;
  for (const Section& section : sections_) {
    if (SameName(section.name, name)) return &section;
  }
  return nullptr;
}

IniFile::Section& IniFile::SectionForWriting(std::string_view name) {
  if (Section* found = FindSection(name)) return *found;
  if (sections_.empty()) sections_.emplace_back();
  const std::string trimmed(Trim(name));
  sections_.push_back({trimmed, "[" + trimmed + "]", {}});
  return sections_.back();
}
