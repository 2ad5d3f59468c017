#include "editor/HeadlessBackEnd.h"

#include "drawing/Canvas.h"
#include "drawing/Font.h"
#include "drawing/Png.h"
#include "editor/IGraphics.h"

HeadlessBackEnd::HeadlessBackEnd(IGraphics& graphics)
    : graphics_(graphics), screen_(graphics.Width(), graphics.Height(), 0xFF000000u) {}

void HeadlessBackEnd::Present(const Bitmap& buffer, const Rect& area) {
  if (screen_.Width() != buffer.Width() || screen_.Height() != buffer.Height()) {
    screen_ = Bitmap(buffer.Width(), buffer.Height(), 0xFF000000u);
  }
  Rect visible = area.Intersection(screen_.Bounds());
  for (int y = visible.top; y < visible.bottom; ++y) {
    for (int x = visible.left; x < visible.right; ++x) screen_.At(x, y) = buffer.At(x, y);
  }
  presented_.push_back(area);
}

bool HeadlessBackEnd::WriteScreenshot(const std::string& path) const {
  return WritePngFile(screen_, path);
}

int HeadlessBackEnd::TrackPopupMenu(const PopupMenu&, int, int) {
  if (menuAnswers_.empty()) return -1;
  int id = menuAnswers_.front();
  menuAnswers_.pop_front();
  return id;
}

GraphicsBackEnd::MessageAnswer HeadlessBackEnd::ShowMessage(const std::string& text,
                                                            const std::string& caption,
                                                            MessageStyle style) {
  messages_.push_back({text, caption, style});
  MessageAnswer answer = style == kYesNo ? kAnswerNo : kAnswerOk;
  if (!messageAnswers_.empty()) {
    answer = messageAnswers_.front();
    messageAnswers_.pop_front();
  }
  return answer;
}

std::string HeadlessBackEnd::ChooseFile(const FileRequest& request) {
  fileRequests_.push_back(request);
  if (fileAnswers_.empty()) return {};
  std::string path = fileAnswers_.front();
  fileAnswers_.pop_front();
  return path;
}

void HeadlessBackEnd::OpenTextEntryBox(const Rect& area, const TextStyle&,
                                       const std::string& text) {
  entryOpen_ = true;
  entryArea_ = area;
  entryText_ = text;
  entrySelected_ = true;
}

void HeadlessBackEnd::Type(const std::string& text) {
  if (!entryOpen_) return;
  // The whole text starts selected, so typing replaces it.
  if (entrySelected_) entryText_.clear();
  entrySelected_ = false;
  for (size_t position = 0; position < text.size();) {
    size_t start = position;
    char32_t character = NextCharacter(text, position);
    if (graphics_.GetTextEntry().Accepts(character, entryText_)) {
      entryText_ += text.substr(start, position - start);
    }
  }
}

bool HeadlessBackEnd::OpenWebPage(const std::string& address) {
  openedPages_.push_back(address);
  return true;
}
