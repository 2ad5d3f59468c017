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
  if (extension != ".fxb" && extension != ".fxp" && extension != ".syx") {
    throw UsageError(path +
                     ": the name must end in .fxb (bank), .fxp (program) or .syx (hardware dump)");
  }
}

// A dump is written for one hardware model, named by --model; only a dump takes one.
void CheckModel(const ConvertOptions& options) {
  const bool dump = !options.outputFile.empty() && IsSysExFileName(options.outputFile);
  if (dump && options.model.empty()) {
    throw UsageError("a .syx output needs --model poly800, ex800 or poly800ii");
  }
  if (!dump && !options.model.empty()) throw UsageError("--model is for a .syx output only");
  if (dump && options.model != "poly800" && options.model != "ex800" &&
      options.model != "poly800ii") {
    throw UsageError("--model takes poly800, ex800 or poly800ii, not \"" + options.model + "\"");
  }
}

int ProgramNumber(const std::string& text) {
  const bool digits =
      !text.empty() && text.size() <= 2 &&
      std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
  const int number = digits ? std::stoi(text) : 0;
  if (number < 1 || number > kProgramCount) {
    throw UsageError("--program takes a number from 1 to 64, not \"" + text + "\"");
  }
  return number - 1;
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
    return;
  }
  if (options.outputFile.empty()) throw UsageError("no output file (-o FILE)");
  RequireBankOrProgram(options.outputFile);
  CheckModel(options);
  if (!options.factoryBank.empty() && !IsBankFileName(options.outputFile) &&
      !IsSysExFileName(options.outputFile)) {
    throw UsageError("--factory writes a bank: the output name must end in .fxb or .syx");
  }
}

}  // namespace

bool IsBankFileName(const std::string& path) {
  return Extension(path) == ".fxb";
}

bool IsSysExFileName(const std::string& path) {
  return Extension(path) == ".syx";
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
      options.program = ProgramNumber(value());
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
         "\n"
         "Converts Tarsyn7 bank files (.fxb), program files (.fxp) and the hardware's SysEx\n"
         "dumps (.syx) through the plug-in itself, so what it writes is exactly what the\n"
         "plug-in writes.\n"
         "\n"
         "  IN -o OUT       read IN, write OUT; the extensions choose bank or program.\n"
         "                  A program read into a bank replaces program N of the bank a\n"
         "                  new instance starts with; a program written from a bank is\n"
         "                  program N.\n"
         "  --program N     the program (1-64) to write or replace; 1 when not given\n"
         "  --model NAME    the hardware a .syx output is for: poly800 (with the MIDI\n"
         "                  Dump Kit), ex800 or poly800ii. A dump read in replaces the\n"
         "                  sound of all 64 programs and keeps their names.\n"
         "  --list          print the names and main settings of IN's programs\n"
         "  --factory NAME  write a factory bank: poly800 (the Poly-800's factory sounds)\n"
         "                  or own (the Corvane factory sounds)\n"
         "  --plugin PATH   the plug-in binary; Tarsyn7 next to this program or installed\n"
         "  -h, --help      this text\n"
         "\n"
         "Exit status: 0 done, 1 failed (unreadable or refused file), 2 wrong usage.\n";
}
