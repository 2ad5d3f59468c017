#include "editor/IGraphics.h"

// The bare editor has no controls yet, so there is nothing to move or draw on.
void IGraphics::SetControlsFromParameter(int, double) {}

void IGraphics::UpdateControlsForParameter(int, double, bool) {}

bool IGraphics::PrepareDraw() {
  return true;
}
