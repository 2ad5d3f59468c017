#pragma once

#include <cstdint>

// Bank, program and SysEx file commands that the maker's own command-line programs send through
// effVendorSpecific: index kToolCommandIndex, value the command, ptr the file path (a
// null-terminated text). The plug-in answers 1 when the command succeeded, else 0, so the
// programs read and write exactly what the plug-in's own menu commands do.
namespace ToolCommands {

constexpr int32_t kIndex = 0x74737937;  // "tsy7"

enum Command : int32_t {
  kLoadBankFile = 1,
  kSaveBankFile = 2,
  kLoadProgramFile = 3,
  kSaveProgramFile = 4,
  kRestorePoly800Bank = 5,  // no path
  kRestoreOwnBank = 6,      // no path
  kLoadSysExBank = 7,       // the 64 programs of a hardware dump
  kSaveSysExEx800 = 8,      // the bank as a dump of model 1, 6 or 12
  kSaveSysExMidiDumpKit = 9,
  kSaveSysExPoly800II = 10,
  kWritePanelScreenshot = 11,  // the editor's panel as drawn now, into a PNG file
};

}  // namespace ToolCommands
