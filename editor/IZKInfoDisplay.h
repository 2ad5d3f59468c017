#pragma once

#include <string>

#include "editor/IControl.h"
#include "editor/InfoLineState.h"

class PanelPlug;

// The information line at the top: chord size, tempo and sequence length, and the
// sequencer's status beside it. Its rectangle covers both texts.
class IZKInfoDisplay : public IControl {
 public:
  static constexpr Rect kMainRect{6, 5, 390, 19};
  static constexpr Rect kStatusRect{390, 5, 490, 19};
  static constexpr double kMaximumTempo = 9999.0;

  IZKInfoDisplay(IPlugBase* plug, PanelPlug& panel);
  void Draw(IGraphics& graphics) override;

  // The line's texts for a state; a tempo that is not a number shows 0, others are
  // clamped to 0 ... 9999.
  static std::string MainText(const InfoLineState& state);
  static const char* StatusText(InfoLineState::Status status);

 private:
  PanelPlug& panel_;
};
