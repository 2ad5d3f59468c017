#pragma once

#include <deque>
#include <string>
#include <vector>

#include "editor/GraphicsBackEnd.h"

class IGraphics;

// A window without a screen: what the editor presents lands in an off-screen picture,
// menus, message boxes and file dialogs take scripted answers (a dismissal, "no" and a
// cancel when none is left) and every request is recorded. Typing goes through the text
// entry's filter as a real edit box's would.
class HeadlessBackEnd : public GraphicsBackEnd {
 public:
  struct Message {
    std::string text;
    std::string caption;
    MessageStyle style;
  };

  explicit HeadlessBackEnd(IGraphics& graphics);

  void AnswerMenu(int id) { menuAnswers_.push_back(id); }
  void AnswerMessage(MessageAnswer answer) { messageAnswers_.push_back(answer); }
  void AnswerFile(const std::string& path) { fileAnswers_.push_back(path); }

  // Types into the open text entry; characters the entry refuses are dropped.
  void Type(const std::string& text);
  void SetEntryText(const std::string& text) { entryText_ = text; }
  bool EntryBoxOpen() const { return entryOpen_; }
  const Rect& EntryBoxArea() const { return entryArea_; }

  const Bitmap& Screen() const { return screen_; }
  const std::vector<Rect>& PresentedAreas() const { return presented_; }
  void ForgetPresentedAreas() { presented_.clear(); }
  bool WriteScreenshot(const std::string& path) const;
  const std::vector<Message>& Messages() const { return messages_; }
  const std::vector<FileRequest>& FileRequests() const { return fileRequests_; }
  const std::vector<std::string>& OpenedPages() const { return openedPages_; }
  const std::string& ShownTooltip() const { return tooltip_; }
  void SetClipboardText(const std::string& text) { clipboard_ = text; }

  void Present(const Bitmap& buffer, const Rect& area) override;
  int TrackPopupMenu(const PopupMenu& menu, int x, int y) override;
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                            MessageStyle style) override;
  std::string ChooseFile(const FileRequest& request) override;
  void OpenTextEntryBox(const Rect& area, const TextStyle& style, const std::string& text) override;
  std::string TextEntryBoxText() override { return entryText_; }
  void CloseTextEntryBox() override { entryOpen_ = false; }
  void ShowTooltip(const std::string& text) override { tooltip_ = text; }
  void HideTooltip() override { tooltip_.clear(); }
  bool OpenWebPage(const std::string& address) override;
  std::string ClipboardText() override { return clipboard_; }

 private:
  IGraphics& graphics_;
  Bitmap screen_;
  std::vector<Rect> presented_;
  std::deque<int> menuAnswers_;
  std::deque<MessageAnswer> messageAnswers_;
  std::deque<std::string> fileAnswers_;
  std::vector<Message> messages_;
  std::vector<FileRequest> fileRequests_;
  std::vector<std::string> openedPages_;
  std::string tooltip_;
  std::string clipboard_;
  bool entryOpen_ = false;
  bool entrySelected_ = false;
  Rect entryArea_;
  std::string entryText_;
};
