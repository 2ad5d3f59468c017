#include "editor/IZKInfoDisplay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/IGraphics.h"
#include "editor/PanelPlug.h"

namespace {

TextStyle LineStyle(Color color) {
  TextStyle style;
  style.font = "Arial";
  style.size = 12;
  style.color = color;
  style.align = TextStyle::kLeft;
  return style;
}

}  // namespace

IZKInfoDisplay::IZKInfoDisplay(IPlugBase* plug, PanelPlug& panel)
    : IControl(plug, kMainRect.Union(kStatusRect)), panel_(panel) {
  SetStyle(LineStyle({96, 255, 255, 255}));
}

std::string IZKInfoDisplay::MainText(const InfoLineState& state) {
  const double tempo =
      std::isfinite(state.tempo) ? std::clamp(state.tempo, 0.0, kMaximumTempo) : 0.0;
  char text[256];
  std::snprintf(text, sizeof text, "CHORD: %i NOTES  |  TEMPO: %.0f %s  |  SEQUENCER: %i STEPS",
                state.chordNotes, tempo, state.noteValue.c_str(), state.steps);
  return text;
}

const char* IZKInfoDisplay::StatusText(InfoLineState::Status status) {
  switch (status) {
    case InfoLineState::kRecording:
      return "RECORDING";
    case InfoLineState::kRunning:
      return "RUNNING";
    case InfoLineState::kWaitingForNote:
      return "WAITING FOR NOTE...";
    case InfoLineState::kIdle:
      break;
  }
  return "";
}

void IZKInfoDisplay::Draw(IGraphics& graphics) {
  static const TextStyle statusStyle = LineStyle({255, 255, 128, 128});
  const InfoLineState state = panel_.InfoLine();
  graphics.GetCanvas().DrawText(MainText(state), Style(), kMainRect);
  graphics.GetCanvas().DrawText(StatusText(state.status), statusStyle, kStatusRect);
}
