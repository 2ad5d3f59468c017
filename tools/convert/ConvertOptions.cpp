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
  if (extension != ".fxb" && extension != ".fxp") {
    throw UsageError(path + ": the name must end in .fxb (bank) or .fxp (program)");
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
    return;
  }
  if (options.outputFile.empty()) throw UsageError("no output file (-o FILE)");
  RequireBankOrProgram(options.outputFile);
  if (!options.factoryBank.empty() && !IsBankFileName(options.outputFile)) {
    throw UsageError("--factory writes a bank: the output name must end in .fxb");
  }
}

}  // namespace

bool IsBankFileName(const std::string& path) {
  return Extension(path) == ".fxb";
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
         "\n"
         "Converts Tarsyn7 bank files (.fxb) and program files (.fxp) through the plug-in\n"
         "itself, so what it writes is exactly what the plug-in writes.\n"
         "\n"
         "  IN -o OUT       read IN, write OUT; the extensions choose bank or program.\n"
         "                  A program read into a bank replaces program N of the bank a\n"
         "                  new instance starts with; a program written from a bank is\n"
         "                  program N.\n"
         "  --program N     the program (1-64) to write or replace; 1 when not given\n"
         "  --list          print the names and main settings of IN's programs\n"
         "  --factory NAME  write a factory bank: poly800 (the Poly-800's factory sounds)\n"
         "                  or own (the Corvane factory sounds)\n"
         "  --plugin PATH   the plug-in binary; Tarsyn7 next to this program or installed\n"
         "  -h, --help      this text\n"
         "\n"
         "Exit status: 0 done, 1 failed (unreadable or refused file), 2 wrong usage.\n";
}
