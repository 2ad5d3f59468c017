#include "editor/MainMenu.h"

#include <string>

namespace MainMenu {

namespace {

// The top menu's entries that open a submenu, and the command number of each submenu's
// first entry.
struct Submenu {
  int entry;
  int base;
};
constexpr Submenu kSubmenus[] = {{1, kPasteFullProgram}, {4, kLoadFullProgram}, {6, kLoadBankFile},
                                 {9, kLoadSysExBank},    {10, kSaveSysExEx800}, {17, kMidiThru},
                                 {23, kCheckForUpdate}};

int Checked(bool on) {
  return on ? PopupMenuItem::kChecked : 0;
}

int DisabledUnless(bool enabled) {
  return enabled ? 0 : PopupMenuItem::kDisabled;
}

// What of a program a paste or a load takes.
void AddProgramParts(PopupMenu& submenu) {
  submenu.AddItem("Full Program");
  submenu.AddItem("Sound only");
  submenu.AddItem("Sequence only");
}

void AddProgramEntries(PopupMenu& menu, const State& state) {
  menu.AddItem("Copy Program");
  if (state.programCopied) {
    AddProgramParts(menu.AddSubmenu("Paste Program..."));
  } else {
    menu.AddItem("Paste Program...", PopupMenuItem::kDisabled);
  }
  menu.AddItem("Init Program");
  menu.AddSeparator();
  AddProgramParts(menu.AddSubmenu("Load Program..."));
  menu.AddItem("Save Program");
}

void AddBankEntries(PopupMenu& menu) {
  PopupMenu& load = menu.AddSubmenu("Load Bank...");
  load.AddItem("Load FXB Bank File");
  load.AddSeparator();
  load.AddItem(kRestorePoly800Text);
  load.AddItem(kRestoreCorvaneText);
  menu.AddItem("Save Bank");
}

void AddHardwareEntries(PopupMenu& menu) {
  PopupMenu& load = menu.AddSubmenu("Load SysEx/Tape...");
  load.AddItem("Load SysEx Bank Data");
  load.AddItem("Load SysEx Sequence");
  load.AddSeparator();
  load.AddItem("Load Tape Bank Data");
  load.AddItem("Load Tape Sequence");
  PopupMenu& save = menu.AddSubmenu("Save SysEx...");
  save.AddItem("Save SysEx Data (EX-800)");
  save.AddItem("Save SysEx Data (MIDI Dump Kit)");
  save.AddItem("Save SysEx Data (Poly-800 II)");
}

void AddSettingsEntries(PopupMenu& menu, const State& state) {
  menu.AddItem("Select Startup Bank");
  menu.AddItem("Load Startup Bank", DisabledUnless(state.startupBankSelected));
  menu.AddItem("Unselect Startup Bank", DisabledUnless(state.startupBankSelected));
  menu.AddSeparator();
  menu.AddItem("Default Path for Program Files");
  PopupMenu& midi = menu.AddSubmenu("Global MIDI Settings...");
  midi.AddItem("MIDI Thru", Checked(state.midiThru));
  midi.AddItem("Ignore Program Change", Checked(state.ignoreProgramChange));
  midi.AddItem("Use Breath Controller for MG to VCF", Checked(state.useBreathController));
  menu.AddItem("Reload Configuration");
  menu.AddItem("Save Configuration");
  menu.AddSeparator();
  menu.AddItem("Show All Parameters", Checked(state.showAllParameters));
}

}  // namespace

PopupMenu Build(const State& state) {
  PopupMenu menu;
  AddProgramEntries(menu, state);
  AddBankEntries(menu);
  menu.AddSeparator();
  AddHardwareEntries(menu);
  menu.AddSeparator();
  AddSettingsEntries(menu, state);
  menu.AddSeparator();
  PopupMenu& online = menu.AddSubmenu("Go Online...");
  online.AddItem("Check Online for Update");
  online.AddItem(std::string("Visit ") + kMakerDomain);
  return menu;
}

int CommandOf(const PopupMenu& menu, const PopupMenu* chosen) {
  if (!chosen) return -1;
  if (chosen == &menu) return chosen->ChosenIndex();
  for (const Submenu& submenu : kSubmenus) {
    if (submenu.entry < menu.ItemCount() && menu.Item(submenu.entry).submenu.get() == chosen) {
      return submenu.base + chosen->ChosenIndex();
    }
  }
  return -1;
}

}  // namespace MainMenu
