#include "tools/convert/ConvertOptions.h"

#include <algorithm>
#include <cctype>

#include "tools/host/RenderError.h"

namespace {

constexpr int kProgramCount = 64;

std::string Extension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t separator = path.find_last_of("/\\");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return {};
  std::string extension = path.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

void RequireBankOrProgram(const std::string& path) {
  const std::string extension = Extension(path);
  if (extension != ".fxb" && extension != ".fxp" && extension != ".syx" && extension != ".wav") {
    throw UsageError(path +
                     ": the name must end in .fxb (bank), .fxp (program), .syx (hardware dump) "
                     "or .wav (tape recording)");
  }
}

// A dump or tape is written for one hardware model, named by --model; only they take one.
// The EX-800 has no tape interface.
void CheckModel(const ConvertOptions& options) {
  const bool dump = IsSysExFileName(options.outputFile);
  const bool tape = IsTapeFileName(options.outputFile);
  const std::string models = dump ? "poly800, ex800 or poly800ii" : "poly800 or poly800ii";
  if ((dump || tape) && options.model.empty()) {
    throw UsageError(std::string("a ") + (dump ? ".syx" : ".wav") + " output needs --model " +
                     models);
  }
  if (!dump && !tape && !options.model.empty()) {
    throw UsageError("--model is for a .syx or .wav output only");
  }
  if ((dump || tape) && options.model != "poly800" && options.model != "poly800ii" &&
      !(dump && options.model == "ex800")) {
    throw UsageError("--model takes " + models + ", not \"" + options.model + "\"");
  }
}

// A whole number from `minimum` to `maximum`, the value of `option`.
int Number(const std::string& option, const std::string& text, int minimum, int maximum) {
  const bool digits =
      !text.empty() && text.size() <= 6 &&
      std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
  const int number = digits ? std::stoi(text) : minimum - 1;
  if (number < minimum || number > maximum) {
    throw UsageError(option + " takes a number from " + std::to_string(minimum) + " to " +
                     std::to_string(maximum) + ", not \"" + text + "\"");
  }
  return number;
}

// The tape options belong to a tape recording read or written.
void CheckTape(const ConvertOptions& options) {
  const bool reading = IsTapeFileName(options.inputFile);
  const bool readingSettings = options.tapeThreshold != ConvertOptions::kConfigured ||
                               options.tapeHighpass != ConvertOptions::kConfigured ||
                               options.tapeLowpass != ConvertOptions::kConfigured;
  if (readingSettings && !reading) {
    throw UsageError("--tape-threshold, --tape-highpass and --tape-lowpass are for a .wav input");
  }
  if (options.sampleRate != ConvertOptions{}.sampleRate && !IsTapeFileName(options.outputFile)) {
    throw UsageError("--sample-rate is for a .wav output only");
  }
}

void Check(const ConvertOptions& options) {
  if (!options.factoryBank.empty()) {
    if (options.factoryBank != "poly800" && options.factoryBank != "own") {
      throw UsageError("--factory takes poly800 or own, not \"" + options.factoryBank + "\"");
    }
    if (!options.inputFile.empty()) throw UsageError("--factory takes no input file");
  } else if (options.inputFile.empty()) {
    throw UsageError("no input file");
  } else {
    RequireBankOrProgram(options.inputFile);
  }
  if (options.list) {
    if (!options.outputFile.empty()) throw UsageError("--list writes no file: drop -o");
    CheckModel(options);
    CheckTape(options);
    return;
  }
  if (options.outputFile.empty()) throw UsageError("no output file (-o FILE)");
  RequireBankOrProgram(options.outputFile);
  CheckModel(options);
  CheckTape(options);
  if (!options.factoryBank.empty() && !IsBankFileName(options.outputFile) &&
      !IsSysExFileName(options.outputFile) && !IsTapeFileName(options.outputFile)) {
    throw UsageError("--factory writes a bank: the output name must end in .fxb, .syx or .wav");
  }
}

}  // namespace

bool IsBankFileName(const std::string& path) {
  return Extension(path) == ".fxb";
}

bool IsSysExFileName(const std::string& path) {
  return Extension(path) == ".syx";
}

bool IsTapeFileName(const std::string& path) {
  return Extension(path) == ".wav";
}

ConvertOptions ParseConvertOptions(const std::vector<std::string>& arguments) {
  ConvertOptions options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw UsageError(argument + " needs a value");
      return arguments[++i];
    };
    if (argument == "-h" || argument == "--help") {
      options.help = true;
      return options;
    } else if (argument == "-o") {
      options.outputFile = value();
    } else if (argument == "--list") {
      options.list = true;
    } else if (argument == "--factory") {
      options.factoryBank = value();
    } else if (argument == "--model") {
      options.model = value();
    } else if (argument == "--program") {
      options.program = Number(argument, value(), 1, kProgramCount) - 1;
    } else if (argument == "--tape-threshold") {
      options.tapeThreshold = Number(argument, value(), 1, 99);
    } else if (argument == "--tape-highpass") {
      options.tapeHighpass = Number(argument, value(), 0, 99999);
    } else if (argument == "--tape-lowpass") {
      options.tapeLowpass = Number(argument, value(), 0, 99999);
    } else if (argument == "--sample-rate") {
      options.sampleRate = Number(argument, value(), 8000, 192000);
    } else if (argument == "--plugin") {
      options.pluginPath = value();
    } else if (!argument.empty() && argument[0] == '-') {
      throw UsageError("unknown option " + argument);
    } else if (options.inputFile.empty()) {
      options.inputFile = argument;
    } else {
      throw UsageError("more than one input file");
    }
  }
  Check(options);
  return options;
}

std::string ConvertHelpText() {
  return "Usage: tarsyn7-convert IN -o OUT [--program N]\n"
         "       tarsyn7-convert IN --list\n"
         "       tarsyn7-convert --factory poly800|own -o FILE.fxb\n"
         "       tarsyn7-convert IN -o OUT.syx --model poly800|ex800|poly800ii\n"
         "       tarsyn7-convert IN -o OUT.wav --model poly800|poly800ii [--sample-rate HZ]\n"
         "\n"
         "Converts Tarsyn7 bank files (.fxb), program files (.fxp), the hardware's SysEx\n"
         "dumps (.syx) and its cassette tape recordings (.wav) through the plug-in itself,\n"
         "so what it writes is exactly what the plug-in writes.\n"
         "\n"
         "  IN -o OUT       read IN, write OUT; the extensions choose bank or program.\n"
         "                  A program read into a bank replaces program N of the bank a\n"
         "                  new instance starts with; a program written from a bank is\n"
         "                  program N.\n"
         "  --program N     the program (1-64) to write or replace; 1 when not given\n"
         "  --model NAME    the hardware a .syx output is for: poly800 (with the MIDI\n"
         "                  Dump Kit), ex800 or poly800ii. A dump read in replaces the\n"
         "                  sound of all 64 programs and keeps their names. For a .wav\n"
         "                  output: poly800 or poly800ii. A tape read in replaces all 64\n"
         "                  programs.\n"
         "  --sample-rate HZ  of a written tape recording (8000-192000; 44100)\n"
         "  --tape-threshold PERCENT, --tape-highpass HZ, --tape-lowpass HZ\n"
         "                  read a .wav with these settings instead of the plug-in's\n"
         "                  configured ones (a filter of 0 is off); the configuration\n"
         "                  is left as it is\n"
         "  --list          print the names and main settings of IN's programs\n"
         "  --factory NAME  write a factory bank: poly800 (the Poly-800's factory sounds)\n"
         "                  or own (the Corvane factory sounds)\n"
         "  --plugin PATH   the plug-in binary; Tarsyn7 next to this program or installed\n"
         "  -h, --help      this text\n"
         "\n"
         "Exit status: 0 done, 1 failed (unreadable or refused file), 2 wrong usage.\n";
}
