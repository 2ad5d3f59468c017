#pragma once

#include <memory>

#include "editor/GraphicsBackEnd.h"

class IGraphics;

// The editor's window on the screen, a child of the host's window. It has no thread of its
// own: the host's idle calls run its events, its 40 ms timer and its repaints.
class EditorWindow : public GraphicsBackEnd {
 public:
  virtual void Idle() = 0;
};

// The window for `graphics` inside the host's window `parent`; null when none can open (no
// window system, a parent that is not a window).
std::unique_ptr<EditorWindow> OpenEditorWindow(IGraphics& graphics, void* parent);
