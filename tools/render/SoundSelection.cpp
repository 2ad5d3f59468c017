#include "tools/render/SoundSelection.h"

#include <algorithm>
#include <cctype>
#include <cmath>
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

// Exact name first, then ignoring case, then the index --list-params shows (for names
// several parameters share).
int FindParameter(PluginHost& host, const std::string& name) {
  int loose = -1;
  for (int i = 0; i < host.ParameterCount(); ++i) {
    const std::string candidate = host.ParameterName(i);
    if (candidate == name) return i;
    if (loose < 0 && Lower(candidate) == Lower(name)) loose = i;
  }
  const bool digits =
      !name.empty() && name.size() < 6 && name.find_first_not_of("0123456789") == std::string::npos;
  if (loose < 0 && digits && std::stoi(name) < host.ParameterCount()) loose = std::stoi(name);
  return loose;
}

// A displayed number; "oo" is how plug-ins write infinity in a few characters.
bool ParseShownNumber(const std::string& text, double& value) {
  if (text == "-oo" || text == "oo" || text == "+oo") {
    value = text[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    return true;
  }
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size();
}

// The same text, or the same number written another way ("-6" for "-6.0").
bool SameValue(const std::string& shown, const std::string& wanted) {
  double a = 0.0;
  double b = 0.0;
  return shown == wanted || (ParseShownNumber(shown, a) && ParseShownNumber(wanted, b) && a == b);
}

std::string Shown(PluginHost& host, int index) {
  return Trim(host.ParameterDisplay(index));
}

std::string ShownAt(PluginHost& host, int index, double normalized) {
  host.SetParameter(index, static_cast<float>(normalized));
  return Shown(host, index);
}

// The lowest normalised value whose displayed number lies at or beyond `target` in the
// direction the display runs (`strictly`: beyond it); 2 when none does. Displays rise or
// fall with the value.
double FirstShowingBeyond(PluginHost& host, int index, double target, bool rising, bool strictly) {
  const auto beyond = [&](double normalized) {
    double number = 0.0;
    if (!ParseShownNumber(ShownAt(host, index, normalized), number)) return false;
    const double distance = rising ? number - target : target - number;
    return strictly ? distance > 0.0 : distance >= 0.0;
  };
  if (beyond(0.0)) return 0.0;
  if (!beyond(1.0)) return 2.0;
  double low = 0.0;
  double high = 1.0;
  for (int i = 0; i < 40; ++i) {
    const double middle = (low + high) / 2.0;
    (beyond(middle) ? high : low) = middle;
  }
  return high;
}

// Sets the parameter to a value it displays as `wanted`: the plug-in's own reading of
// the text when it shows that, else either end of the range, else the middle of the
// stretch of values that show the number. False when no value shows it.
bool SetToShown(PluginHost& host, int index, const std::string& wanted, bool& readsText) {
  std::string text = wanted;
  readsText = host.Dispatch(effString2Parameter, index, 0, &text[0]) != 0;
  if (readsText && SameValue(Shown(host, index), wanted)) return true;
  for (double end : {0.0, 1.0}) {
    if (ShownAt(host, index, end) == wanted) return true;
  }
  double target = 0.0;
  double atLow = 0.0;
  double atHigh = 0.0;
  if (!ParseShownNumber(wanted, target) || !ParseShownNumber(ShownAt(host, index, 0.0), atLow) ||
      !ParseShownNumber(ShownAt(host, index, 1.0), atHigh) || atLow == atHigh) {
    return false;
  }
  const bool rising = atHigh > atLow;
  const double first = FirstShowingBeyond(host, index, target, rising, false);
  const double past = std::min(FirstShowingBeyond(host, index, target, rising, true), 1.0);
  return first < past && SameValue(ShownAt(host, index, (first + past) / 2.0), wanted);
}

}  // namespace

HeldSetting ApplySetting(PluginHost& host, const std::string& setting) {
  const size_t equals = setting.find('=');
  if (equals == std::string::npos) {
    throw UsageError("--set \"" + setting + "\": write it as \"Parameter Name=value\"");
  }
  const std::string name = Trim(setting.substr(0, equals));
  const std::string value = Trim(setting.substr(equals + 1));
  const int index = FindParameter(host, name);
  if (index < 0) throw UsageError("no parameter is named \"" + name + "\" (see --list-params)");
  bool readsText = false;
  if (SetToShown(host, index, value, readsText)) return {index, host.GetParameter(index)};
  double number = 0.0;
  if (!readsText && ParseShownNumber(value, number) && number >= 0.0 && number <= 1.0) {
    host.SetParameter(index, static_cast<float>(number));  // a plug-in that reads no text
    return {index, host.GetParameter(index)};
  }
  const std::string lowest = ShownAt(host, index, 0.0);
  const std::string highest = ShownAt(host, index, 1.0);
  throw UsageError("--set: \"" + host.ParameterName(index) + "\" shows no value as \"" + value +
                   "\"; it takes values from " + lowest + " to " + highest +
                   " as --list-params shows them");
}

std::vector<HeldSetting> SelectSound(PluginHost& host, const SoundChoice& choice) {
  if (!choice.bankFile.empty()) LoadBankFile(host, choice.bankFile);
  if (choice.program >= 0) {
    if (choice.program >= host.ProgramCount()) {
      throw RenderError("--program " + std::to_string(choice.program) + ": the plug-in has " +
                        std::to_string(host.ProgramCount()) + " programs, numbered from 0");
    }
    host.SetProgram(choice.program);
  }
  if (!choice.programFile.empty()) LoadProgramFile(host, choice.programFile);
  std::vector<HeldSetting> held;
  for (const std::string& setting : choice.settings) held.push_back(ApplySetting(host, setting));
  return held;
}

void ApplyHeldSettings(PluginHost& host, const std::vector<HeldSetting>& held) {
  for (const HeldSetting& setting : held) host.SetParameter(setting.index, setting.normalized);
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
