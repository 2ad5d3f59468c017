// The front panel's two-digit programmer: program and parameter selection, stepping
// values, and the six-digit display.
#include <cmath>
#include <cstdlib>
#include <mutex>

#include "control/ParameterIndex.h"
#include "engine/ParameterNumbers.h"
#include "engine/Tarsyn7.h"

namespace {

constexpr int kFirstDco2 = 13;
constexpr int kLastDco2 = 19;
constexpr int kFirstDeg2 = 36;
constexpr int kLastDeg2 = 41;

}  // namespace

double Tarsyn7::PlainValue(int index) const {
  const Parameter* parameter = GetParameter(index);
  return parameter ? parameter->Value() : 0.0;
}

bool Tarsyn7::DoubleDcoShown() const {
  const Parameter* mode = GetParameter(kDcoMode);
  return mode && mode->Normalized() >= 0.5;
}

// The hardware shows no value for DCO2 and DEG2 while it plays a single DCO.
bool Tarsyn7::ValueHiddenInSingleMode(int index) const {
  const bool secondVoice =
      (index >= kFirstDco2 && index <= kLastDco2) || (index >= kFirstDeg2 && index <= kLastDeg2);
  return secondVoice && !DoubleDcoShown();
}

void Tarsyn7::SelectParameter(int index) {
  std::lock_guard<ReentrantLock> guard(Lock());
  if (!GetParameter(index)) return;
  programmer_.selected = index;
  programmer_.reference = PlainValue(index);
  programmer_.parameterMode = true;
  programmer_.bankHold = false;
  IdleTick();
}

void Tarsyn7::DigitButton(int digit) {
  Programmer& p = programmer_;
  if (!p.digitPending && !p.bankHold) {
    p.digitPending = true;
    p.firstDigit = digit;
    return;
  }
  if (p.parameterMode) {
    const int parameter = ParameterOfNumber(p.firstDigit, digit);
    if (parameter < 0) return;  // not a number of the chart: the first digit stays
    SelectParameter(parameter);
  } else {
    LoadProgram((p.firstDigit - 1) * 8 + (digit - 1));
  }
  p.digitPending = false;
}

void Tarsyn7::BankHoldButton() {
  Programmer& p = programmer_;
  p.bankHold = !p.bankHold;
  if (!p.bankHold) return;
  int group = 0;
  int item = 0;
  if (!p.parameterMode) {
    p.firstDigit = CurrentPreset() / 8 + 1;
  } else if (NumberOfParameter(p.selected, group, item)) {
    p.firstDigit = group;
  }
}

void Tarsyn7::ProgParaButton() {
  if (programmer_.parameterMode) {
    programmer_.parameterMode = false;
    programmer_.bankHold = false;
  } else {
    SelectParameter(programmer_.selected);
  }
}

// DOWN / UP: the parameter by one in parameter mode, heard at once; else the program.
void Tarsyn7::StepSelected(int delta) {
  if (!programmer_.parameterMode) {
    LoadProgram((CurrentPreset() + delta + kPresetCount) % kPresetCount);
    return;
  }
  const int index = programmer_.selected;
  Parameter* parameter = GetParameter(index);
  if (!parameter) return;
  const double normalized =
      parameter->ToNormalized(parameter->Clamp(std::round(parameter->Value() + delta)));
  SetParameterFromEditor(index, normalized);
  if (IGraphics* editor = Editor()) editor->UpdateControlsForParameter(index, normalized, true);
}

PanelDisplayState Tarsyn7::DisplayState() {
  std::lock_guard<ReentrantLock> guard(Lock());
  const Programmer& p = programmer_;
  PanelDisplayState state;
  auto& d = state.digits;
  d[0] = CurrentPreset() / 8 + 1;
  d[1] = CurrentPreset() % 8 + 1;
  state.green = PlainValue(kLegacyMode) < 0.5;
  if (keyMode_ == kRecording) {
    const int step = sequencer_.StepIndex() + 1;
    d[2] = PanelDisplayState::kS;
    d[3] = step / 100 % 10;
    d[4] = step / 10 % 10;
    d[5] = step % 10;
  } else if (!p.parameterMode) {
    d[3] = sustainPedal_ ? PanelDisplayState::kH
                         : (keyMode_ == kChord ? PanelDisplayState::kC : PanelDisplayState::kP);
    if (p.digitPending) {
      d[0] = p.firstDigit;
      d[1] = PanelDisplayState::kDash;
    }
    state.points = {p.bankHold, DoubleDcoShown(), false};
  } else if (p.digitPending) {
    d[2] = p.firstDigit;
    d[3] = PanelDisplayState::kDash;
  } else {
    int group = PanelDisplayState::kDash;
    int item = PanelDisplayState::kDash;
    NumberOfParameter(p.selected, group, item);
    d[2] = group;
    d[3] = item;
    const double value = PlainValue(p.selected);
    const bool hidden = ValueHiddenInSingleMode(p.selected);
    if (!hidden) {
      const long shown = std::labs(std::lround(value));
      d[4] = static_cast<int32_t>(shown / 10 % 10);
      d[5] = static_cast<int32_t>(shown % 10);
    }
    state.points = {false, p.bankHold, !hidden && value != p.reference};
  }
  return state;
}
