#include "platform/EditorWindow.h"

// The Windows build offers no editor window yet (IPlugVST::kEditorHasWindow).
std::unique_ptr<EditorWindow> OpenEditorWindow(IGraphics&, void*) {
  return nullptr;
}
