#pragma once

#include <ostream>
#include <string>
#include <vector>

class PluginHost;

// The sound the user chose; applied in the order of the fields.
struct SoundChoice {
  std::string bankFile;
  int program = -1;  // none chosen
  std::string programFile;
  std::vector<std::string> settings;  // "Parameter Name=value"

  bool ChoosesSound() const { return !bankFile.empty() || program >= 0 || !programFile.empty(); }
};

// A parameter value given with --set, as the normalised value it turned out to be; it is
// set again whenever the song changes the program.
struct HeldSetting {
  int index;
  float normalized;
};

// Throws RenderError for a file or program the plug-in cannot take, UsageError for a
// setting it cannot take. Answers the settings made.
std::vector<HeldSetting> SelectSound(PluginHost& host, const SoundChoice& choice);

// Sets one parameter, named by its own name (or its index), to a value given exactly as
// the plug-in displays it ("VCF Cutoff=40", "God Mode=On", "Volume=-6.0"); the same
// number written another way is taken too. A plug-in that reads no text takes a number
// from 0 to 1 as the normalised value. Throws UsageError naming the parameter and the
// values it displays when no value shows as given.
HeldSetting ApplySetting(PluginHost& host, const std::string& setting);
void ApplyHeldSettings(PluginHost& host, const std::vector<HeldSetting>& held);

void ListPrograms(PluginHost& host, std::ostream& out);
void ListParameters(PluginHost& host, std::ostream& out);
