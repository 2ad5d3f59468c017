#pragma once

#include <string>
#include <vector>

// What tarsyn7-convert is asked to do.
struct ConvertOptions {
  std::string inputFile;   // a bank (.fxb), a program (.fxp), a hardware dump (.syx) or tape (.wav)
  std::string outputFile;  // -o: its extension chooses bank, program, hardware dump or tape
  std::string model;       // --model for a .syx output: "poly800", "ex800" or "poly800ii";
                           // for a .wav output "poly800" or "poly800ii"
  std::string factoryBank;  // --factory: "poly800" or "own"
  std::string pluginPath;   // --plugin: empty for Tarsyn7 next to the program or installed
  int program = 0;          // --program N (1-64), as index 0-63
  // Tape reading: --tape-threshold (percent), --tape-highpass and --tape-lowpass (Hz, 0 off);
  // kConfigured where the plug-in's configured setting holds.
  static constexpr int kConfigured = -1;
  int tapeThreshold = kConfigured;
  int tapeHighpass = kConfigured;
  int tapeLowpass = kConfigured;
  int sampleRate = 44100;  // --sample-rate of a written tape recording
  bool list = false;
  bool help = false;
};

// The arguments after the program name; throws UsageError.
ConvertOptions ParseConvertOptions(const std::vector<std::string>& arguments);

std::string ConvertHelpText();

// True for a name ending in ".fxb" (any case); false for ".fxp".
bool IsBankFileName(const std::string& path);
// True for a name ending in ".syx" (any case): a hardware dump of all 64 programs.
bool IsSysExFileName(const std::string& path);
// True for a name ending in ".wav" (any case): a tape recording of all 64 programs.
bool IsTapeFileName(const std::string& path);
