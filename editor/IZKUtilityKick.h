#pragma once

#include "editor/IContactControl.h"

class PanelPlug;

// A front-panel push button: pressed while held, it sends its programmer command (the
// negated tag) on the press. It takes clicks 8 pixels around its picture too.
class IZKUtilityKick : public IContactControl {
 public:
  static constexpr int kClickMargin = 8;
  static constexpr int kFirstTag = -103;
  static constexpr int kLastTag = -87;
  static constexpr int kStartStopTag = -88;

  IZKUtilityKick(IPlugBase* plug, PanelPlug& panel, int x, int y, int tag,
                 const BitmapStrip& strip);
  void OnMouseDown(int x, int y, const MouseModifiers& modifiers) override;
  void OnMouseUp(int x, int y, const MouseModifiers& modifiers) override;

 private:
  // START/STOP with a recorded sequence and the record switch on starts a new recording:
  // the user confirms erasing first.
  bool ConfirmedErase();

  PanelPlug& panel_;
};
