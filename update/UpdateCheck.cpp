#include "update/UpdateCheck.h"

#include "editor/IGraphics.h"
#include "platform/HttpGet.h"
#include "update/VersionNumber.h"

namespace {

const char* const kCaption = "Check Online for Update";

}  // namespace

UpdateCheck::Result UpdateCheck::Run(IGraphics& graphics) const {
  Result result = kFailed;
  try {
    result = RunUnguarded(graphics);
  } catch (...) {
  }
  if (result == kNoAnswer || result == kFailed) {
    graphics.ShowMessage("An error occurred while contacting " + server_.host + ".", kCaption,
                         GraphicsBackEnd::kOkError);
  }
  return result;
}

// Anything but a bare version number is no answer, never "up to date": a page of a proxy or
// a truncated reply must not hide a release. Nothing from the answer is ever opened.
UpdateCheck::Result UpdateCheck::RunUnguarded(IGraphics& graphics) const {
  const HttpReply reply = HttpGet(server_.host, server_.port, kRequestPath, server_.timeoutMs);
  if (!reply.answered || reply.body.empty()) return kNoAnswer;
  if (reply.body.find('<') != std::string::npos) {
    graphics.ShowMessage("Invalid call to " + server_.host + ".", kCaption,
                         GraphicsBackEnd::kOkError);
    return kNotAVersion;
  }
  const auto latest = VersionNumber::Parse(reply.body);
  if (!latest) return kNoAnswer;
  if (!latest->IsNewerThan(*VersionNumber::Parse(kOwnVersion))) {
    graphics.ShowMessage("Your version is up to date.", kCaption, GraphicsBackEnd::kOkInformation);
    return kAnswered;
  }
  const std::string text = std::string("A new version of ") + "Tarsyn7" + " is available.\n\n" +
                           "\tYour version: \t" + "2.5.1" + "\n" + "\tNew version: \t" +
                           latest->text + "\n" + "\nDo you want to go to " + WebAddress() +
                           " to get the new version?";
  const auto answer = graphics.ShowMessage(
      text, std::string("New Version of ") + "Tarsyn7" + " Detected", GraphicsBackEnd::kYesNo);
  if (answer != GraphicsBackEnd::kAnswerNo) {
    graphics.OpenWebPage(WebAddress() + kDownloadPath, kCaption, "", "");
  }
  return kAnswered;
}
