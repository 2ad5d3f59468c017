#include "tools/convert/Conversion.h"

#include <iomanip>

#include "host/ToolCommands.h"
#include "tools/host/PluginHost.h"
#include "tools/host/RenderError.h"

namespace {

constexpr int32_t kTarsyn7Id = ToolCommands::kIndex;  // the plug-in identifier "tsy7"

// The settings --list shows beside each name.
constexpr const char* kMainSettings[] = {"Mode",        "Voices", "DCO Mode", "God Mode",
                                         "Legacy Mode", "Chorus", "Volume"};

bool Send(PluginHost& host, ToolCommands::Command command, const std::string& path = {}) {
  return host.Dispatch(effVendorSpecific, ToolCommands::kIndex, command,
                       path.empty() ? nullptr : const_cast<char*>(path.c_str())) == 1;
}

void Read(PluginHost& host, const ConvertOptions& options) {
  if (!options.factoryBank.empty()) {
    const bool poly800 = options.factoryBank == "poly800";
    if (!Send(host, poly800 ? ToolCommands::kRestorePoly800Bank : ToolCommands::kRestoreOwnBank)) {
      throw RenderError("the plug-in carries no " + options.factoryBank + " factory bank");
    }
    return;
  }
  if (IsSysExFileName(options.inputFile)) {
    if (!Send(host, ToolCommands::kLoadSysExBank, options.inputFile)) {
      throw RenderError(options.inputFile +
                        ": cannot load file (missing, incomplete, damaged, or no dump of a "
                        "Poly-800, EX-800 or Poly-800 II)");
    }
    return;
  }
  const bool bank = IsBankFileName(options.inputFile);
  if (!bank) host.SetProgram(options.program);
  if (!Send(host, bank ? ToolCommands::kLoadBankFile : ToolCommands::kLoadProgramFile,
            options.inputFile)) {
    throw RenderError(options.inputFile + ": cannot load file (missing, damaged, or not a " +
                      (bank ? "Tarsyn7 bank)" : "Tarsyn7 program)"));
  }
}

ToolCommands::Command SaveSysExCommand(const std::string& model) {
  if (model == "ex800") return ToolCommands::kSaveSysExEx800;
  return model == "poly800ii" ? ToolCommands::kSaveSysExPoly800II
                              : ToolCommands::kSaveSysExMidiDumpKit;
}

void Write(PluginHost& host, const ConvertOptions& options) {
  const bool dump = IsSysExFileName(options.outputFile);
  const bool bank = IsBankFileName(options.outputFile);
  if (!bank && !dump) host.SetProgram(options.program);
  const ToolCommands::Command command = dump   ? SaveSysExCommand(options.model)
                                        : bank ? ToolCommands::kSaveBankFile
                                               : ToolCommands::kSaveProgramFile;
  if (!Send(host, command, options.outputFile)) {
    throw RenderError(options.outputFile + ": cannot save file");
  }
}

void ListProgram(PluginHost& host, int program, std::ostream& out) {
  host.SetProgram(program);
  out << std::setw(2) << program + 1 << "  " << std::left << std::setw(24)
      << host.ProgramName(program) << std::right;
  for (int i = 0; i < host.ParameterCount(); ++i) {
    const std::string name = host.ParameterName(i);
    for (const char* shown : kMainSettings) {
      if (name == shown) out << "  " << name << " " << host.ParameterDisplay(i);
    }
  }
  out << "\n";
}

}  // namespace

void RunConversion(PluginHost& host, const ConvertOptions& options, std::ostream& out) {
  if (host.Effect().uniqueID != kTarsyn7Id) throw RenderError("the plug-in is not Tarsyn7");
  Read(host, options);
  if (!options.list) {
    Write(host, options);
    return;
  }
  if (!options.factoryBank.empty() || IsBankFileName(options.inputFile) ||
      IsSysExFileName(options.inputFile)) {
    for (int program = 0; program < host.ProgramCount(); ++program) {
      ListProgram(host, program, out);
    }
  } else {
    ListProgram(host, options.program, out);
  }
}
