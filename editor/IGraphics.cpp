#include "editor/IGraphics.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "editor/BitmapCache.h"
#include "host/IPlugBase.h"
#include "host/Parameter.h"
#include "platform/FilePath.h"

namespace {

bool HasPngExtension(const std::string& fileName) {
  size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = fileName.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == "png";
}

// "fxb fxp" gives the filter "*.fxb;*.fxp" and the default extension "fxb".
GraphicsBackEnd::FileRequest FileRequestFor(GraphicsBackEnd::FileMode mode,
                                            const std::string& directory,
                                            const std::string& extensions) {
  GraphicsBackEnd::FileRequest request;
  request.mode = mode;
  request.directory = directory;
  size_t start = 0;
  while (start < extensions.size()) {
    size_t end = extensions.find(' ', start);
    if (end == std::string::npos) end = extensions.size();
    if (end > start) {
      std::string extension = extensions.substr(start, end - start);
      if (request.defaultExtension.empty()) request.defaultExtension = extension.substr(0, 15);
      request.filter += (request.filter.empty() ? "*." : ";*.") + extension;
    }
    start = end + 1;
  }
  return request;
}

std::string FileNameOf(const std::string& path) {
  return path.substr(path.find_last_of("/\\") + 1);
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() &&
         std::equal(ending.rbegin(), ending.rend(), text.rbegin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

// A menu, message box or file dialog runs a loop of its own, in which the host may close
// the window (the host's dispatcher then keeps the window until the loop returns): a
// dialog whose window went away meanwhile answers as dismissed. The press that opened it
// never sees its release, so the captured control is let go.
class IGraphics::ModalCall {
 public:
  explicit ModalCall(IGraphics& graphics) : graphics_(graphics), backEnd_(graphics.backEnd_) {
    ++graphics_.modalDepth_;
  }
  ~ModalCall() {
    if (--graphics_.modalDepth_ == 0) graphics_.EndCapture();
  }
  ModalCall(const ModalCall&) = delete;
  ModalCall& operator=(const ModalCall&) = delete;

  bool WindowGone() const { return graphics_.backEnd_ != backEnd_; }

 private:
  IGraphics& graphics_;
  GraphicsBackEnd* backEnd_;
};

IGraphics::IGraphics(IPlugBase* plug, int width, int height)
    : plug_(plug), width_(width), height_(height), canvas_(buffer_) {
  pendingCount_ = plug ? plug->ParameterCount() : 0;
  pending_ = std::make_unique<PendingValue[]>(static_cast<size_t>(pendingCount_));
}

IGraphics::~IGraphics() = default;

void IGraphics::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  buffer_ = Bitmap();  // made again at the new size when painting
  canvas_.SetClip({});
  if (plug_) plug_->EditorResized(width, height);
}

bool IGraphics::PrepareDraw() {
  if (buffer_.Width() != width_ || buffer_.Height() != height_) {
    buffer_ = Bitmap(width_, height_, 0xFF000000u);
  }
  return !buffer_.Empty();
}

int IGraphics::AttachControl(IControl* control) {
  controls_.emplace_back(control);
  return ControlCount() - 1;
}

IControl* IGraphics::GetControl(int index) const {
  return index >= 0 && index < ControlCount() ? controls_[static_cast<size_t>(index)].get()
                                              : nullptr;
}

BitmapStrip IGraphics::LoadStrip(int id, const std::string& fileName, int frames) {
  BitmapStrip strip;
  strip.frames = std::max(frames, 1);
  strip.image = HasPngExtension(fileName) ? CachedBitmap(id) : nullptr;
  if (strip.image) {
    strip.width = strip.image->Width();
    strip.height = strip.image->Height();
  }
  return strip;
}

void IGraphics::SetControlsFromParameter(int parameter, double normalized) {
  UpdateControlsForParameter(parameter, normalized, true);
}

void IGraphics::UpdateControlsForParameter(int parameter, double value, bool normalised) {
  if (parameter < 0 || parameter >= pendingCount_) return;
  if (!normalised) {
    const Parameter* definition = plug_->GetParameter(parameter);
    value = definition->ToNormalized(definition->Clamp(value));
  }
  PendingValue& slot = pending_[static_cast<size_t>(parameter)];
  slot.value.store(value, std::memory_order_relaxed);
  slot.waiting.store(true, std::memory_order_release);
  anyPending_.store(true, std::memory_order_release);
}

void IGraphics::ApplyPendingValues() {
  if (!anyPending_.exchange(false, std::memory_order_acquire)) return;
  for (int i = 0; i < pendingCount_; ++i) {
    PendingValue& slot = pending_[static_cast<size_t>(i)];
    if (slot.waiting.exchange(false, std::memory_order_acquire)) {
      GiveValueToControls(i, slot.value.load(std::memory_order_relaxed));
    }
  }
}

void IGraphics::GiveValueToControls(int parameter, double normalized) {
  for (auto& control : controls_) {
    if (control->ParameterIndex() == parameter) control->SetValueFromPlug(normalized);
  }
}

bool IGraphics::OpenWindow(GraphicsBackEnd* backEnd) {
  if (!backEnd || backEnd_) return false;
  backEnd_ = backEnd;
  cleanTicks_ = 0;
  ApplyPendingValues();
  MarkAllDirty();
  return true;
}

void IGraphics::CloseWindow() {
  if (!backEnd_) return;
  if (textEntry_.IsOpen()) backEnd_->CloseTextEntryBox();
  textEntry_.Close();
  backEnd_->HideTooltip();
  EndCapture();
  hovered_ = -1;
  tooltipControl_ = -1;
  backEnd_ = nullptr;
}

void IGraphics::EndCapture() {
  if (gestureOpen_)
    plug_->HostEndGesture(controls_[static_cast<size_t>(captured_)]->ParameterIndex());
  gestureOpen_ = false;
  captured_ = -1;
}

void IGraphics::MarkAllDirty() {
  for (auto& control : controls_) control->Redraw();
}

void IGraphics::OnTimer() {
  if (!backEnd_) return;
  ApplyPendingValues();
  TextEntry::State entry = textEntry_.GetState();
  if (entry == TextEntry::kCommitRequested || entry == TextEntry::kCancelRequested) {
    if (entry == TextEntry::kCommitRequested) CommitTextEntry();
    backEnd_->CloseTextEntryBox();
    textEntry_.Close();
  }
  Rect dirty;
  for (auto& control : controls_) {
    if (control->TakeDirty() && !control->IsHidden()) dirty = dirty.Union(control->DrawRect());
  }
  if (dirty.Empty()) {
    if (++cleanTicks_ >= kCleanTicksPerIdle) {
      cleanTicks_ = 0;
      if (plug_) plug_->IdleTick();
    }
    return;
  }
  cleanTicks_ = 0;
  Paint(dirty);
  if (textEntry_.IsOpen()) textEntry_.SetState(TextEntry::kDrawn);
}

void IGraphics::Paint(const Rect& area) {
  if (!backEnd_) return;
  PrepareDraw();
  Rect visible = area.Intersection(buffer_.Bounds());
  canvas_.SetClip(visible);
  for (auto& control : controls_) {
    if (!control->IsHidden() && control->DrawRect().Intersects(visible)) control->Draw(*this);
  }
  for (auto& control : controls_) control->SetClean();
  if (!visible.Empty()) backEnd_->Present(buffer_, visible);
}

void IGraphics::CommitTextEntry() {
  std::string text = textEntry_.Limited(backEnd_->TextEntryBoxText());
  if (text == textEntry_.InitialText()) return;  // unchanged: nothing to store
  IControl* control = textEntry_.Control();
  if (!textEntry_.EditedParameter()) {
    control->SetText(text);
    return;
  }
  double normalized = 0.0;
  if (textEntry_.ParameterValueOf(text, normalized)) control->SetValueFromUserInput(normalized);
}

int IGraphics::ControlAt(int x, int y, bool forMouseOver) const {
  for (int i = ControlCount() - 1; i >= 0; --i) {
    const IControl& control = *controls_[static_cast<size_t>(i)];
    if (control.IsHidden()) continue;
    if (control.IsGrayed() && !(forMouseOver && control.MouseOverWhenGrayed())) continue;
    if (control.IsHit(x, y)) return i;
  }
  return -1;
}

void IGraphics::BeginCapture(int index, const MouseModifiers& modifiers, int x, int y) {
  captured_ = index;
  capturedByRight_ = modifiers.right && !modifiers.left;
  lastX_ = x;
  lastY_ = y;
  IControl& control = *controls_[static_cast<size_t>(index)];
  gestureOpen_ = control.IsBound() && plug_;
  if (gestureOpen_) plug_->HostBeginGesture(control.ParameterIndex());
}

void IGraphics::OnMouseDown(int x, int y, const MouseModifiers& modifiers) {
  if (!backEnd_) return;
  backEnd_->HideTooltip();
  if (textEntry_.IsOpen()) {
    RequestTextEntryCommit();
    return;
  }
  if (captured_ >= 0) return;  // a second button while one holds the control
  int index = ControlAt(x, y, false);
  if (index < 0) return;
  BeginCapture(index, modifiers, x, y);
  controls_[static_cast<size_t>(index)]->OnMouseDown(x, y, modifiers);
}

void IGraphics::OnMouseDblClick(int x, int y, const MouseModifiers& modifiers) {
  if (!backEnd_ || textEntry_.IsOpen() || captured_ >= 0) return;
  int index = ControlAt(x, y, false);
  if (index < 0) return;
  // Like a press for the capture and the host's gesture, which the release then ends.
  BeginCapture(index, modifiers, x, y);
  IControl& control = *controls_[static_cast<size_t>(index)];
  if (control.DblClickActsAsClick()) {
    control.OnMouseDown(x, y, modifiers);
  } else {
    control.OnMouseDblClick(x, y, modifiers);
  }
}

void IGraphics::OnMouseUp(int x, int y, const MouseModifiers& modifiers) {
  if (captured_ < 0) return;
  bool rightRelease = modifiers.right && !modifiers.left;
  if (rightRelease != capturedByRight_) return;  // the other button's release
  IControl& control = *controls_[static_cast<size_t>(captured_)];
  captured_ = -1;
  control.OnMouseUp(x, y, modifiers);
  if (gestureOpen_) plug_->HostEndGesture(control.ParameterIndex());
  gestureOpen_ = false;
}

void IGraphics::OnMouseDrag(int x, int y, const MouseModifiers& modifiers) {
  if (captured_ < 0 || textEntry_.IsOpen() || (x == lastX_ && y == lastY_)) return;
  controls_[static_cast<size_t>(captured_)]->OnMouseDrag(x, y, x - lastX_, y - lastY_, modifiers);
  lastX_ = x;
  lastY_ = y;
}

void IGraphics::OnMouseMove(int x, int y, const MouseModifiers& modifiers) {
  if (!backEnd_ || !mouseOver_) return;
  int index = ControlAt(x, y, true);
  if (index >= 0) controls_[static_cast<size_t>(index)]->OnMouseOver(x, y, modifiers);
  if (hovered_ >= 0 && hovered_ != index) controls_[static_cast<size_t>(hovered_)]->OnMouseOut();
  if (tooltips_ && index != tooltipControl_) {
    tooltipControl_ = index;
    backEnd_->HideTooltip();
  }
  hovered_ = index;
}

void IGraphics::OnMouseHover() {
  if (!backEnd_ || !tooltips_ || tooltipControl_ < 0) return;
  backEnd_->ShowTooltip(controls_[static_cast<size_t>(tooltipControl_)]->Tooltip());
}

void IGraphics::OnMouseLeave() {
  if (!backEnd_) return;
  backEnd_->HideTooltip();
  for (auto& control : controls_) control->OnMouseOut();
  hovered_ = -1;
  tooltipControl_ = -1;
}

void IGraphics::OnMouseWheel(int x, int y, const MouseModifiers& modifiers, double notches) {
  if (!backEnd_) return;
  if (textEntry_.IsOpen()) {
    RequestTextEntryCancel();
    return;
  }
  int index = captured_ >= 0 ? captured_ : ControlAt(x, y, false);
  if (index >= 0) controls_[static_cast<size_t>(index)]->OnMouseWheel(x, y, modifiers, notches);
}

bool IGraphics::OnKeyDown(int x, int y, int key) {
  int index = ControlAt(x, y, false);
  if (index <= 0) return false;  // the background takes no keys
  return controls_[static_cast<size_t>(index)]->OnKeyDown(x, y, key);
}

void IGraphics::OpenTextEntry(IControl* control, const TextStyle& style, const Rect& area,
                              const std::string& text) {
  if (!backEnd_ || !control || textEntry_.IsOpen()) return;
  textEntry_.Open(control, plug_ ? plug_->GetParameter(control->ParameterIndex()) : nullptr, text,
                  control->TextEntryLength());
  Rect box{area.left, area.top, area.right + 1, area.bottom + 1};
  backEnd_->OpenTextEntryBox(box, style, textEntry_.InitialText());
}

void IGraphics::RequestTextEntryCommit() {
  if (textEntry_.IsOpen()) textEntry_.SetState(TextEntry::kCommitRequested);
}

void IGraphics::RequestTextEntryCancel() {
  if (textEntry_.IsOpen()) textEntry_.SetState(TextEntry::kCancelRequested);
}

PopupMenu* IGraphics::ShowPopupMenu(PopupMenu& menu, const Rect& area) {
  if (!backEnd_) return nullptr;
  menu.AssignIds();
  ModalCall modal(*this);
  int id = backEnd_->TrackPopupMenu(menu, area.left, area.bottom);
  if (modal.WindowGone()) return nullptr;
  MarkAllDirty();
  return id < 0 ? nullptr : menu.Choose(id);
}

GraphicsBackEnd::MessageAnswer IGraphics::ShowMessage(const std::string& text,
                                                      const std::string& caption,
                                                      GraphicsBackEnd::MessageStyle style) {
  if (!backEnd_) return GraphicsBackEnd::kAnswerCancel;
  ModalCall modal(*this);
  GraphicsBackEnd::MessageAnswer answer = backEnd_->ShowMessage(text, caption, style);
  return modal.WindowGone() ? GraphicsBackEnd::kAnswerCancel : answer;
}

void IGraphics::ChooseFile(std::string& fileName, GraphicsBackEnd::FileMode mode,
                           std::string& directory, const std::string& extensions) {
  if (!backEnd_) {
    fileName.clear();
    return;
  }
  GraphicsBackEnd::FileRequest request = FileRequestFor(mode, directory, extensions);
  request.suggestedName = fileName;
  ModalCall modal(*this);
  fileName = backEnd_->ChooseFile(request);
  if (modal.WindowGone()) fileName.clear();
  if (fileName.empty()) return;
  if (mode == GraphicsBackEnd::kChooseFolder) {
    directory = fileName;
    return;
  }
  if (mode == GraphicsBackEnd::kSaveFile && !AddDefaultExtension(fileName, request)) {
    fileName.clear();
    return;
  }
  directory = FolderOfFile(fileName);
}

// A name typed without the extension gets it; the dialog asked about overwriting the name
// as typed, so a file already under the extended name is asked about here. False when
// the user keeps that file.
bool IGraphics::AddDefaultExtension(std::string& fileName,
                                    const GraphicsBackEnd::FileRequest& request) {
  const std::string ending = "." + request.defaultExtension;
  if (request.defaultExtension.empty() || EndsWithIgnoringCase(fileName, ending)) return true;
  fileName += ending;
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::u8path(fileName), error)) return true;
  return backEnd_->ShowMessage(
             FileNameOf(fileName) + " already exists.\nDo you want to replace it?",
             "Confirm Save As", GraphicsBackEnd::kYesNo) == GraphicsBackEnd::kAnswerYes;
}

bool IGraphics::OpenWebPage(const std::string& address, const std::string& caption,
                            const std::string& confirmation, const std::string& error) {
  if (!backEnd_) return false;
  if (!confirmation.empty() &&
      ShowMessage(confirmation, caption, GraphicsBackEnd::kYesNo) != GraphicsBackEnd::kAnswerYes) {
    return false;
  }
  bool opened = false;
  {
    ModalCall modal(*this);  // the shell may take its time
    opened = backEnd_->OpenWebPage(address);
  }
  if (!opened && !error.empty()) ShowMessage(error, caption, GraphicsBackEnd::kOkError);
  return opened;
}

std::string IGraphics::ReadClipboardText() {
  if (!backEnd_) return {};
  ModalCall modal(*this);  // the program holding the text may take a moment to answer
  std::string text = backEnd_->ClipboardText();
  return modal.WindowGone() ? std::string() : text;
}

void IGraphics::DrawStripFrame(const BitmapStrip& strip, const Rect& where, int frame,
                               double weight) {
  if (!strip.image) return;
  canvas_.Blit(*strip.image, strip.FrameRect(frame), where.left, where.top, weight);
}
