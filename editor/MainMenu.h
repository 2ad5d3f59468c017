#pragma once

#include "editor/PopupMenu.h"

// The option button's menu: every program, bank, hardware-data, settings and online
// command without a panel control. Each entry stands for a command number: its position
// in the top menu, or its position in a submenu plus that submenu's base.
namespace MainMenu {

enum Command {
  kCopyProgram = 0,
  kInitProgram = 2,
  kSaveProgram = 5,
  kSaveBank = 7,
  kSelectStartupBank = 12,
  kLoadStartupBank = 13,
  kUnselectStartupBank = 14,
  kProgramFilesFolder = 16,
  kReloadConfiguration = 18,
  kSaveConfiguration = 19,
  kShowAllParameters = 21,
  kMidiThru = 24,
  kIgnoreProgramChange = 25,
  kUseBreathController = 26,
  kCheckForUpdate = 27,
  kVisitHomePage = 28,
  kPasteFullProgram = 29,
  kPasteSoundOnly = 30,
  kPasteSequenceOnly = 31,
  kLoadFullProgram = 32,
  kLoadSoundOnly = 33,
  kLoadSequenceOnly = 34,
  kLoadBankFile = 35,
  kRestorePoly800Sounds = 37,
  kRestoreCorvaneSounds = 38,
  kLoadSysExBank = 39,
  kLoadSysExSequence = 40,
  kLoadTapeBank = 42,
  kLoadTapeSequence = 43,
  kSaveSysExEx800 = 44,
  kSaveSysExMidiDumpKit = 45,
  kSaveSysExPoly800II = 46,
};

// The maker's site, offered by the last entry.
constexpr const char* kMakerDomain = "www.corvanemusic.example";
constexpr const char* kMakerHomePage = "http://www.corvanemusic.example/";

// The factory-bank entries, whose texts also title their questions.
constexpr const char* kRestorePoly800Text = "Restore Poly-800 Factory Sounds";
constexpr const char* kRestoreCorvaneText = "Restore the Corvane Factory Sounds";

// What the entries' grayed states and check marks show.
struct State {
  bool programCopied = false;
  bool startupBankSelected = false;
  bool midiThru = false;
  bool ignoreProgramChange = false;
  bool useBreathController = false;
  bool showAllParameters = false;
};

// The tree for one click.
PopupMenu Build(const State& state);
// The command of the entry chosen in `chosen` (the menu ShowPopupMenu answered, a part of
// `menu`); -1 when nothing was chosen.
int CommandOf(const PopupMenu& menu, const PopupMenu* chosen);

}  // namespace MainMenu
