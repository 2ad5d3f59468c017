#include "editor/HeadlessBackEnd.h"
#include "engine/Synth.h"
#include "host/ToolCommands.h"

// The panel as the editor draws it for the current state, through a window without a
// screen; refused while the host shows the editor.
bool Synth::RunToolCommand(int32_t command, const char* path) {
  if (command != ToolCommands::kWritePanelScreenshot || !path || editor_->WindowIsOpen()) {
    return false;
  }
  HeadlessBackEnd window(*editor_);
  if (!editor_->OpenWindow(&window)) return false;
  editor_->OnTimer();
  const bool written = window.WriteScreenshot(path);
  editor_->CloseWindow();
  return written;
}
