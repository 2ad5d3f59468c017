#pragma once

#include <string>
#include <vector>

#include "tools/host/RenderError.h"
#include "tools/render/Renderer.h"
#include "tools/render/SoundSelection.h"

struct RenderOptions {
  std::string midiFile;    // empty: the demo phrase
  std::string outputFile;  // -o
  std::string pluginPath;  // empty: Tarsyn7, next to the program or installed
  std::string midiOutFile;
  std::string screenshotFile;  // the front panel's picture instead of a render
  int bits = 24;
  double gainDecibels = 0.0;  // --gain
  bool normalize = false;     // --normalize: the peak of the whole render to normalizeDbfs
  double normalizeDbfs = -1.0;
  RenderSettings render;
  SoundChoice sound;
  bool listPrograms = false;
  bool listParameters = false;
  bool stats = false;
  bool help = false;
};

// The arguments after the program name; throws UsageError.
RenderOptions ParseOptions(const std::vector<std::string>& arguments);

std::string HelpText();
