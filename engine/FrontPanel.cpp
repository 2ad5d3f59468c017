// What the editor's front panel asks of the instrument: sequencer and learn state, the
// settings it switches, the program name and the tape dialog's load.
#include <algorithm>
#include <mutex>

#include "control/ParameterIndex.h"
#include "editor/IZKInfoDisplay.h"
#include "editor/IZKNumberDisplay.h"
#include "editor/IZKSwitchMidiLearn.h"
#include "editor/IZKTapeLoadDialog.h"
#include "editor/MainMenu.h"
#include "engine/Tarsyn7.h"

namespace {

// The note value of a host-synchronised step, by "Seq. Frequency".
constexpr const char* kNoteValues[] = {"4/1",  "2/1.", "2/1",   "1/1.",  "1/1",  "1/2.", "1/2",
                                       "1/4.", "1/2T", "1/4",   "1/8.",  "1/4T", "1/8",  "1/16.",
                                       "1/8T", "1/16", "1/32.", "1/16T", "1/32", "1/64"};
constexpr int kNoteValueCount = sizeof kNoteValues / sizeof kNoteValues[0];

}  // namespace

bool Tarsyn7::StartWouldEraseSequence() {
  std::lock_guard<ReentrantLock> guard(Lock());
  return keyMode_ != kRecording && sequencer_.recordEnabled && !sequencer_.Steps().empty();
}

bool Tarsyn7::RecordArmed() {
  std::lock_guard<ReentrantLock> guard(Lock());
  return sequencer_.recordEnabled;
}

InfoLineState Tarsyn7::InfoLine() {
  std::lock_guard<ReentrantLock> guard(Lock());
  InfoLineState line;
  line.chordNotes = chordNotes_.empty() ? 0 : static_cast<int>(chordNotes_.size()) + 1;
  line.steps = static_cast<int>(sequencer_.Steps().size());
  if (sequencerHostClock_) {
    line.tempo = timeInfo_.tempo;
    const Parameter* frequency = GetParameter(kSeqFrequency);
    const int index = static_cast<int>(frequency->Normalized() * (kNoteValueCount - 1));
    line.noteValue = kNoteValues[std::clamp(index, 0, kNoteValueCount - 1)];
  } else {
    line.tempo = PlainValue(kSeqFrequency);
  }
  if (keyMode_ == kRecording) {
    line.status = InfoLineState::kRecording;
  } else if (sequencer_.running) {
    line.status = InfoLineState::kRunning;
  } else if (sequencer_.armed && sequencerPlayOnNote_) {
    line.status = InfoLineState::kWaitingForNote;
  }
  return line;
}

std::string Tarsyn7::TuningDescription() {
  return Microtuning().DisplayText();
}

bool Tarsyn7::UsesBreathController() {
  std::lock_guard<ReentrantLock> guard(Lock());
  return Settings().UseBreathController();
}

void Tarsyn7::FlipBreathController() {
  FlipSwitch(Configuration::kUseBreathController);
}

bool Tarsyn7::ShowsAllParameters() {
  std::lock_guard<ReentrantLock> guard(Lock());
  return Settings().ShowParameters();
}

void Tarsyn7::ArmMidiLearn(bool on, bool forget) {
  ArmLearn(on, forget);
}

bool Tarsyn7::MidiLearnArmed() {
  std::lock_guard<ReentrantLock> guard(Lock());
  return midiLearn_.Armed();
}

std::string Tarsyn7::CurrentProgramName() {
  std::lock_guard<ReentrantLock> guard(Lock());
  return PresetName(CurrentPreset());
}

void Tarsyn7::RenameCurrentProgram(const std::string& name) {
  std::lock_guard<ReentrantLock> guard(Lock());
  ModifyCurrentPreset(name.c_str());
  HostProgramChanged();
  RefreshControls();
}

// Built anew at every click, so grayed entries and check marks show the state of now.
void Tarsyn7::OpenMainMenu(IGraphics& graphics, int x, int y) {
  MainMenu::State state;
  {
    std::lock_guard<ReentrantLock> guard(Lock());
    const Configuration& settings = Settings();
    state = {HasCopiedProgram(),
             !settings.StartupBank().empty(),
             settings.MidiThru(),
             settings.IgnoreProgramChange(),
             settings.UseBreathController(),
             settings.ShowParameters()};
  }
  PopupMenu menu = MainMenu::Build(state);
  const int command = MainMenu::CommandOf(menu, graphics.ShowPopupMenu(menu, {x, y, x, y}));
  if (command == MainMenu::kVisitHomePage) {
    graphics.OpenWebPage(MainMenu::kMakerHomePage, "", "", "");
  } else if (command >= 0) {
    RunMenuCommand(command);
  }
}

bool Tarsyn7::LoadTape(int mode, const std::string& path, bool& isPoly800II, std::string& error) {
  if (mode == IZKTapeLoadDialog::kSequence) return LoadTapeSequence(path, error);
  return LoadTapeBank(path, isPoly800II, error);
}

std::string Tarsyn7::DocumentsFolder() {
  std::lock_guard<ReentrantLock> guard(Lock());
  return documentsFolder_;
}

void Tarsyn7::SetDocumentsFolder(const std::string& folder) {
  std::lock_guard<ReentrantLock> guard(Lock());
  documentsFolder_ = folder;
}

// Called from the editor's timer (and after every panel command): the displays read the
// instrument's state when they draw, so they follow learns and sequencer steps taken on
// the audio thread.
void Tarsyn7::RedrawPanelDisplays() {
  for (IControl* control :
       {static_cast<IControl*>(panel_.infoDisplay), static_cast<IControl*>(panel_.numberDisplay),
        static_cast<IControl*>(panel_.midiLearn)}) {
    if (control) control->Redraw();
  }
}
