#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "editor/HeadlessBackEnd.h"
#include "editor/IGraphics.h"
#include "update/UpdateCheck.h"
#include "update/VersionNumber.h"

namespace {

// A one-shot web server on 127.0.0.1 in the test process: it answers one request with
// `reply`, or never answers, or sends without end, and remembers the request line.
class FakeServer {
 public:
  enum Mode { kReply, kSilent, kEndless };

  FakeServer(Mode mode, std::string reply = "") : mode_(mode), reply_(std::move(reply)) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
    listen(listener_, 1);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~FakeServer() {
    thread_.join();
    close(listener_);
  }
  int Port() const { return port_; }
  const std::string& RequestLine() const { return requestLine_; }

 private:
  // Every wait ends within seconds, so a broken client cannot hang the test.
  static bool Ready(int fd, short events) {
    pollfd entry{fd, events, 0};
    return poll(&entry, 1, 5000) > 0;
  }

  void Serve() {
    if (!Ready(listener_, POLLIN)) return;
    const int client = accept(listener_, nullptr, nullptr);
    std::string request;
    char chunk[512];
    while (request.find("\r\n\r\n") == std::string::npos && Ready(client, POLLIN)) {
      const ssize_t n = recv(client, chunk, sizeof chunk, 0);
      if (n <= 0) break;
      request.append(chunk, static_cast<size_t>(n));
    }
    requestLine_ = request.substr(0, request.find("\r\n"));
    if (mode_ == kReply) {
      send(client, reply_.data(), reply_.size(), MSG_NOSIGNAL);
    } else if (mode_ == kSilent) {
      Ready(client, POLLIN);  // until the client gives up
    } else {
      const std::string filler(1000, '7');
      while (Ready(client, POLLOUT) &&
             send(client, filler.data(), filler.size(), MSG_NOSIGNAL) > 0) {
      }
    }
    close(client);
  }

  Mode mode_;
  std::string reply_;
  int listener_ = -1;
  int port_ = 0;
  std::string requestLine_;
  std::thread thread_;
};

std::string Ok(const std::string& body) {
  return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body;
}

class UpdateCheckTest : public ::testing::Test {
 protected:
  UpdateCheck::Result Check(int port) {
    graphics.OpenWindow(&window);
    const auto start = std::chrono::steady_clock::now();
    const auto result = UpdateCheck({"127.0.0.1", port, 300}).Run(graphics);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    return result;
  }
  std::string OnlyMessage() const {
    EXPECT_EQ(window.Messages().size(), 1u);
    return window.Messages().empty() ? "" : window.Messages()[0].text;
  }

  IGraphics graphics{nullptr, 100, 100};
  HeadlessBackEnd window{graphics};
};

TEST(VersionNumber, ReadsTheServicesDigitsAndComparesByParts) {
  EXPECT_EQ(VersionNumber::Parse("2510")->text, "2.5.10");
  EXPECT_EQ(VersionNumber::Parse(" 2502\r\n")->text, "2.5.2");
  EXPECT_EQ(VersionNumber::Parse("3000")->text, "3.0.0");
  const auto own = *VersionNumber::Parse("2501");
  EXPECT_FALSE(VersionNumber::Parse("251")->IsNewerThan(own));
  EXPECT_FALSE(VersionNumber::Parse("2500")->IsNewerThan(own));
  // A short answer is not a smaller number: 9.9.9 is newer than 2.5.1.
  EXPECT_TRUE(VersionNumber::Parse("999")->IsNewerThan(own));
  for (const char* answer : {"", "25", "2502 beta", "1234567890", "2,502", "-2502"}) {
    EXPECT_FALSE(VersionNumber::Parse(answer)) << answer;
  }
}

TEST_F(UpdateCheckTest, OurOwnVersionIsUpToDate) {
  FakeServer server(FakeServer::kReply, Ok("2501"));
  EXPECT_EQ(Check(server.Port()), UpdateCheck::kAnswered);
  EXPECT_EQ(OnlyMessage(), "Your version is up to date.");
  EXPECT_EQ(window.Messages()[0].style, GraphicsBackEnd::kOkInformation);
  EXPECT_EQ(server.RequestLine(), "GET /music/version/?file=tarsyn7 HTTP/1.0");
}

TEST_F(UpdateCheckTest, ANewerVersionOffersTheDownloadPageUnlessDeclined) {
  for (const auto& [answer, shown] :
       {std::pair{"2502", "2.5.2"}, {"2510", "2.5.10"}, {"3000", "3.0.0"}}) {
    FakeServer server(FakeServer::kReply, Ok(answer));
    window.AnswerMessage(GraphicsBackEnd::kAnswerYes);
    EXPECT_EQ(Check(server.Port()), UpdateCheck::kAnswered);
    EXPECT_NE(window.Messages().back().text.find(std::string("\tNew version: \t") + shown + "\n"),
              std::string::npos);
    EXPECT_EQ(window.Messages().back().caption, "New Version of Tarsyn7 Detected");
  }
  ASSERT_EQ(window.OpenedPages().size(), 3u);
  EXPECT_EQ(window.OpenedPages()[0], "http://127.0.0.1/music/vst.html");
  FakeServer declined(FakeServer::kReply, Ok("2502"));
  window.AnswerMessage(GraphicsBackEnd::kAnswerNo);
  Check(declined.Port());
  EXPECT_EQ(window.OpenedPages().size(), 3u);
}

TEST_F(UpdateCheckTest, AnHtmlPageIsAnInvalidCall) {
  FakeServer server(FakeServer::kReply, Ok("<html><body>2502</body></html>"));
  EXPECT_EQ(Check(server.Port()), UpdateCheck::kNotAVersion);
  EXPECT_EQ(OnlyMessage(), "Invalid call to 127.0.0.1.");
  EXPECT_TRUE(window.OpenedPages().empty());
}

TEST_F(UpdateCheckTest, EveryFailureEndsPromptlyAsNoAnswer) {
  const std::string error = "An error occurred while contacting 127.0.0.1.";
  {
    FakeServer server(FakeServer::kReply, "HTTP/1.0 404 Not Found\r\n\r\n2502");
    EXPECT_EQ(Check(server.Port()), UpdateCheck::kNoAnswer);
  }
  {
    FakeServer server(FakeServer::kReply, Ok("2502 and more"));
    EXPECT_EQ(Check(server.Port()), UpdateCheck::kNoAnswer);
  }
  {
    FakeServer server(FakeServer::kSilent);
    EXPECT_EQ(Check(server.Port()), UpdateCheck::kNoAnswer);
  }
  {
    FakeServer server(FakeServer::kEndless);
    EXPECT_EQ(Check(server.Port()), UpdateCheck::kNoAnswer);
  }
  int refusedPort;
  {
    FakeServer server(FakeServer::kReply, Ok("2501"));
    refusedPort = server.Port();
    Check(refusedPort);
  }
  EXPECT_EQ(Check(refusedPort), UpdateCheck::kNoAnswer);
  ASSERT_EQ(window.Messages().size(), 6u);
  for (size_t i : {0, 1, 2, 3, 5}) EXPECT_EQ(window.Messages()[i].text, error);
  EXPECT_TRUE(window.OpenedPages().empty());
}

}  // namespace
