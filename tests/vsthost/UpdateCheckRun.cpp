// Runs "Check Online for Update" against a fake web server on 127.0.0.1 in this process,
// one line per case, and fails when a case gets the wrong result or message or takes more
// than a few seconds. Built for Linux and Windows: under wine it checks the WinINet client.
//
//   update-check
#include <chrono>
#include <cstdio>
#include <string>

#include "editor/HeadlessBackEnd.h"
#include "editor/IGraphics.h"
#include "tests/update/FakeHttpServer.h"
#include "update/UpdateCheck.h"

namespace {

constexpr int kTimeoutMs = 500;
constexpr auto kPromptly = std::chrono::seconds(3);
const std::string kError = "An error occurred while contacting 127.0.0.1.";

struct Expected {
  UpdateCheck::Result result;
  std::string message;  // a part of the only message shown
  bool opensDownloadPage = false;
};

int failures = 0;

// One check against `port`; the user answers "yes" to the offer of a new version.
void Check(const std::string& name, int port, const Expected& expected) {
  IGraphics graphics{nullptr, 100, 100};
  HeadlessBackEnd window{graphics};
  graphics.OpenWindow(&window);
  window.AnswerMessage(GraphicsBackEnd::kAnswerYes);
  const auto start = std::chrono::steady_clock::now();
  const auto result = UpdateCheck({"127.0.0.1", port, kTimeoutMs}).Run(graphics);
  const auto took = std::chrono::steady_clock::now() - start;
  const std::string message = window.Messages().size() == 1 ? window.Messages()[0].text : "";
  const bool ok = result == expected.result &&
                  message.find(expected.message) != std::string::npos &&
                  window.OpenedPages().size() == (expected.opensDownloadPage ? 1u : 0u) &&
                  (!expected.opensDownloadPage ||
                   window.OpenedPages()[0] == "http://127.0.0.1/music/vst.html") &&
                  took < kPromptly;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
  std::printf("%s %s: result %d, %zu message(s), %zu page(s), %lld ms\n", ok ? "ok  " : "FAIL",
              name.c_str(), static_cast<int>(result), window.Messages().size(),
              window.OpenedPages().size(), static_cast<long long>(ms));
  if (!ok) {
    std::printf("     message: \"%s\"\n", message.c_str());
    ++failures;
  }
}

bool UnderWine() {
#ifdef _WIN32
  const HMODULE system = GetModuleHandleA("ntdll.dll");
  return system && GetProcAddress(system, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

void Require(bool ok, const std::string& what) {
  if (ok) return;
  std::printf("FAIL %s\n", what.c_str());
  ++failures;
}

// Serves `reply` (or nothing, or without end) to one check; returns the server's port, by
// then closed.
int CheckWith(const std::string& name, FakeHttpServer::Mode mode, const std::string& reply,
              const Expected& expected) {
  FakeHttpServer server(mode, reply);
  Check(name, server.Port(), expected);
  return server.Port();
}

// A server that fails to answer; `wineFault` says what wine's WinINet cannot bound, so the
// case is skipped there. Returns the port, 0 when skipped.
int CheckNoAnswer(const std::string& name, FakeHttpServer::Mode mode,
                  const char* wineFault = nullptr) {
  if (wineFault && UnderWine()) {
    std::printf("skip %s: %s\n", name.c_str(), wineFault);
    return 0;
  }
  return CheckWith(name, mode, "", {UpdateCheck::kNoAnswer, kError});
}

}  // namespace

int main() {
  const auto ok = FakeHttpServer::kReply;
  {
    FakeHttpServer server(ok, HttpOkReply("2501"));
    Check("2501", server.Port(), {UpdateCheck::kAnswered, "Your version is up to date."});
    Require(server.RequestLine().rfind("GET /music/version/?file=tarsyn7 HTTP/1.", 0) == 0,
            "request line \"" + server.RequestLine() + "\"");
  }
  for (const auto& [answer, shown] :
       {std::pair{"2502", "2.5.2"}, {"2510", "2.5.10"}, {"3000", "3.0.0"}}) {
    CheckWith(answer, ok, HttpOkReply(answer),
              {UpdateCheck::kAnswered, std::string("\tNew version: \t") + shown + "\n", true});
  }
  CheckWith("an HTML page", ok, HttpOkReply("<html><body>2502</body></html>"),
            {UpdateCheck::kNotAVersion, "Invalid call to 127.0.0.1."});
  CheckWith("trailing text", ok, HttpOkReply("2502 and more"), {UpdateCheck::kNoAnswer, kError});
  CheckWith("a version behind 4 KiB of blanks", ok, HttpOkReply("2502" + std::string(5000, ' ')),
            {UpdateCheck::kNoAnswer, kError});
  CheckWith("a 404", ok, "HTTP/1.0 404 Not Found\r\n\r\n2502", {UpdateCheck::kNoAnswer, kError});
  {
    // The address a redirect names is never asked.
    FakeHttpServer elsewhere(ok, HttpOkReply("3000"));
    CheckWith("a redirect", ok,
              "HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:" +
                  std::to_string(elsewhere.Port()) + "/music/version/?file=tarsyn7\r\n\r\n",
              {UpdateCheck::kNoAnswer, kError});
    Require(elsewhere.RequestLine().empty(), "the redirect was followed");
  }
  CheckNoAnswer("a server that takes no connection", FakeHttpServer::kQueueFull,
                "wine's WinINet waits for a connection as long as the system does, whatever "
                "the connect timeout");
  const int closedPort = CheckNoAnswer("a server that never answers", FakeHttpServer::kSilent);
  CheckNoAnswer("an endless reply", FakeHttpServer::kEndless);
  CheckNoAnswer("a reply without a line end", FakeHttpServer::kEndlessLine,
                "wine's WinINet reads a status line until it ends, whatever the timeouts");
  Check("a refused connection", closedPort, {UpdateCheck::kNoAnswer, kError});
  std::printf("%s\n", failures ? "update check: FAILED" : "update check: all cases passed");
  return failures ? 1 : 0;
}
