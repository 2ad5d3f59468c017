#pragma once

#include <string>

#include "drawing/Bitmap.h"
#include "drawing/TextStyle.h"

class PopupMenu;

// What the editor core needs of a window system. The editor calls it on its own thread
// only; the back-end calls the editor's input operations on that thread too.
class GraphicsBackEnd {
 public:
  enum MessageStyle { kOk, kOkInformation, kOkError, kYesNo };
  enum MessageAnswer { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };
  // kChooseFolder: a save dialog whose chosen folder is the answer (the file name is ignored).
  enum FileMode { kOpenFile, kSaveFile, kChooseFolder };

  struct FileRequest {
    FileMode mode = kOpenFile;
    std::string directory;         // empty: the user's desktop
    std::string filter;            // "*.fxb;*.fxp"
    std::string defaultExtension;  // "fxb"
    std::string suggestedName;     // the file name the dialog starts with
  };

  virtual ~GraphicsBackEnd() = default;

  // Shows `area` of the editor's back buffer on the screen.
  virtual void Present(const Bitmap& buffer, const Rect& area) = 0;
  // Shows the menu (its ids assigned) at window point (x, y) and waits: the chosen id,
  // or a negative number when the menu was dismissed.
  virtual int TrackPopupMenu(const PopupMenu& menu, int x, int y) = 0;
  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                    MessageStyle style) = 0;
  // The chosen file's full path, or empty when cancelled.
  virtual std::string ChooseFile(const FileRequest& request) = 0;
  // A single-line edit box over `area` showing `text` all selected; the back-end reports
  // Enter, Escape and the loss of focus to the editor and filters typing through it.
  virtual void OpenTextEntryBox(const Rect& area, const TextStyle& style,
                                const std::string& text) = 0;
  virtual std::string TextEntryBoxText() = 0;
  virtual void CloseTextEntryBox() = 0;
  virtual void ShowTooltip(const std::string& text) = 0;
  virtual void HideTooltip() = 0;
  virtual bool OpenWebPage(const std::string& address) = 0;
  virtual std::string ClipboardText() = 0;
};
