#pragma once

#include <string>
#include <utility>

class IGraphics;

// Where the update service lives. The default server is a build option; until a real one
// exists it is a name that never resolves.
struct UpdateServer {
  std::string host = TARSYN7_UPDATE_SERVER;
  int port = 80;
  int timeoutMs = 4000;  // for connecting and again for the answer
};

// "Check Online for Update": asks the service for the latest version, compares it with ours
// and tells the user through the editor's message box, offering the download page for a
// newer one. Runs on the editor's thread and blocks it until the exchange ends.
class UpdateCheck {
 public:
  enum Result { kAnswered = 0, kNoAnswer = -1, kFailed = -2, kNotAVersion = -3 };
  static constexpr const char* kRequestPath = "/music/version/?file=tarsyn7";
  static constexpr const char* kDownloadPath = "/music/vst.html";
  static constexpr const char* kOwnVersion = "2501";

  explicit UpdateCheck(UpdateServer server = UpdateServer()) : server_(std::move(server)) {}
  Result Run(IGraphics& graphics) const;

 private:
  Result RunUnguarded(IGraphics& graphics) const;
  std::string WebAddress() const { return "http://" + server_.host; }

  UpdateServer server_;
};
