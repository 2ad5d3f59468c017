#include <mutex>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"

// While recording only STEP and START/STOP act.
void Tarsyn7::PanelCommand(int code) {
  std::lock_guard<ReentrantLock> guard(Lock());
  if (keyMode_ == kRecording) {
    if (code == kStepButton) RecordTieOrRest();
    if (code == kStartStopButton && sequencer_.recordEnabled) sequencer_.DeleteLastStep();
  } else {
    switch (code) {
      case kStartStopButton:
        StartOrStopPlayback();
        break;
      case kPolyButton:
        programmer_.parameterMode = false;
        SetKeyModeFromPanel(kPoly);
        break;
      case kChordMemoryButton:
        programmer_.parameterMode = false;
        SetKeyModeFromPanel(kChord);
        if (sustainPedal_) {
          CaptureChord();
          SustainPedal(false);
          keyMode_ = sequencer_.savedKeyMode = kChord;
        }
        break;
      case kHoldButton:
        programmer_.parameterMode = false;
        SustainPedal(!sustainPedal_);
        break;
      case kBankHoldButton:
        BankHoldButton();
        break;
      case kProgParaButton:
        ProgParaButton();
        break;
      case kDownButton:
        StepSelected(-1);
        break;
      case kUpButton:
        StepSelected(1);
        break;
      default:
        if (code >= kDigit1Button && code <= kDigit8Button) DigitButton(code - kDigit1Button + 1);
        break;
    }
  }
  IdleTick();
}

// With the record switch on this starts recording. Otherwise it starts playback, or
// stops it, also when it still waits for its first note.
void Tarsyn7::StartOrStopPlayback() {
  if (sequencer_.recordEnabled) {
    StartRecording();
  } else if (sequencer_.running || (sequencer_.armed && sequencerPlayOnNote_)) {
    keyMode_ = sequencer_.savedKeyMode;
    sequencer_.armed = false;
    SequencerRun(false);
  } else {
    sequencer_.armed = true;
    sequencer_.savedKeyMode = keyMode_;
    keyMode_ = kPoly;
    if (!sequencerPlayOnNote_) SequencerRun(true);
  }
}

// POLY and CHORD MEMORY set "Mode" as the editor would, telling the host and the controls.
void Tarsyn7::SetKeyModeFromPanel(int mode) {
  const double normalized = GetParameter(kMode)->ToNormalized(mode);
  SetParameterFromEditor(kMode, normalized);
  if (IGraphics* editor = Editor()) editor->UpdateControlsForParameter(kMode, normalized, true);
}
