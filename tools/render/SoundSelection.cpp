#include "tools/render/SoundSelection.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "tools/host/PluginHost.h"
#include "tools/render/PresetFile.h"
#include "tools/host/RenderError.h"

namespace {

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Exact name first, then ignoring case.
int FindParameter(PluginHost& host, const std::string& name) {
  int loose = -1;
  for (int i = 0; i < host.ParameterCount(); ++i) {
    const std::string candidate = host.ParameterName(i);
    if (candidate == name) return i;
    if (loose < 0 && Lower(candidate) == Lower(name)) loose = i;
  }
  return loose;
}

bool ParseNumber(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size();
}

}  // namespace

void ApplySetting(PluginHost& host, const std::string& setting) {
  const size_t equals = setting.find('=');
  if (equals == std::string::npos) {
    throw RenderError("--set \"" + setting + "\": write it as \"Parameter Name=value\"");
  }
  const std::string name = Trim(setting.substr(0, equals));
  std::string value = Trim(setting.substr(equals + 1));
  const int index = FindParameter(host, name);
  if (index < 0) throw RenderError("no parameter is named \"" + name + "\" (see --list-params)");
  double number = 0.0;
  const bool numeric = ParseNumber(value, number);
  if (host.Dispatch(effString2Parameter, index, 0, &value[0]) != 0) {
    // A text that is no number must have been one of the parameter's display texts.
    if (numeric || Trim(host.ParameterDisplay(index)) == value) return;
  } else if (numeric && number >= 0.0 && number <= 1.0) {
    host.SetParameter(index, static_cast<float>(number));
    return;
  }
  throw RenderError("\"" + name + "\" cannot take the value \"" + value + "\"");
}

void SelectSound(PluginHost& host, const SoundChoice& choice) {
  if (!choice.bankFile.empty()) LoadBankFile(host, choice.bankFile);
  if (choice.program >= 0) {
    if (choice.program >= host.ProgramCount()) {
      throw RenderError("--program " + std::to_string(choice.program) + ": the plug-in has " +
                        std::to_string(host.ProgramCount()) + " programs, numbered from 0");
    }
    host.SetProgram(choice.program);
  }
  if (!choice.programFile.empty()) LoadProgramFile(host, choice.programFile);
  for (const std::string& setting : choice.settings) ApplySetting(host, setting);
}

void ListPrograms(PluginHost& host, std::ostream& out) {
  const int current = host.CurrentProgram();
  for (int i = 0; i < host.ProgramCount(); ++i) {
    char line[320];
    std::snprintf(line, sizeof line, "%c%3d  %s\n", i == current ? '*' : ' ', i,
                  host.ProgramName(i).c_str());
    out << line;
  }
}

void ListParameters(PluginHost& host, std::ostream& out) {
  for (int i = 0; i < host.ParameterCount(); ++i) {
    const std::string label = host.ParameterLabel(i);
    const std::string display = Trim(host.ParameterDisplay(i)) + (label.empty() ? "" : " " + label);
    char line[640];
    std::snprintf(line, sizeof line, "%3d  %-24s %8.4f  %s\n", i, host.ParameterName(i).c_str(),
                  static_cast<double>(host.GetParameter(i)), display.c_str());
    out << line;
  }
}
