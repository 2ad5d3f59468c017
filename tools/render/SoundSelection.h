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

// Throws RenderError for a file, program or setting the plug-in cannot take.
void SelectSound(PluginHost& host, const SoundChoice& choice);

// Sets one parameter by its own name to a plain value, given as the plug-in parses and
// displays it ("VCF Cutoff=40", "God Mode=On"). A plug-in that parses no text takes a
// number from 0 to 1 as the normalised value.
void ApplySetting(PluginHost& host, const std::string& setting);

void ListPrograms(PluginHost& host, std::ostream& out);
void ListParameters(PluginHost& host, std::ostream& out);
