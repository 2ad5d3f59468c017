#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "editor/HeadlessBackEnd.h"
#include "editor/IGraphics.h"
#include "tests/update/FakeHttpServer.h"
#include "update/UpdateCheck.h"
#include "update/VersionNumber.h"

namespace {

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
  FakeHttpServer server(FakeHttpServer::kReply, HttpOkReply("2501"));
  EXPECT_EQ(Check(server.Port()), UpdateCheck::kAnswered);
  EXPECT_EQ(OnlyMessage(), "Your version is up to date.");
  EXPECT_EQ(window.Messages()[0].style, GraphicsBackEnd::kOkInformation);
  EXPECT_EQ(server.RequestLine(), "GET /music/version/?file=tarsyn7 HTTP/1.0");
}

TEST_F(UpdateCheckTest, ANewerVersionOffersTheDownloadPageUnlessDeclined) {
  for (const auto& [answer, shown] :
       {std::pair{"2502", "2.5.2"}, {"2510", "2.5.10"}, {"3000", "3.0.0"}}) {
    FakeHttpServer server(FakeHttpServer::kReply, HttpOkReply(answer));
    window.AnswerMessage(GraphicsBackEnd::kAnswerYes);
    EXPECT_EQ(Check(server.Port()), UpdateCheck::kAnswered);
    EXPECT_NE(window.Messages().back().text.find(std::string("\tNew version: \t") + shown + "\n"),
              std::string::npos);
    EXPECT_EQ(window.Messages().back().caption, "New Version of Tarsyn7 Detected");
  }
  ASSERT_EQ(window.OpenedPages().size(), 3u);
  EXPECT_EQ(window.OpenedPages()[0], "http://127.0.0.1/music/vst.html");
  FakeHttpServer declined(FakeHttpServer::kReply, HttpOkReply("2502"));
  window.AnswerMessage(GraphicsBackEnd::kAnswerNo);
  Check(declined.Port());
  EXPECT_EQ(window.OpenedPages().size(), 3u);
}

TEST_F(UpdateCheckTest, AnHtmlPageIsAnInvalidCall) {
  FakeHttpServer server(FakeHttpServer::kReply, HttpOkReply("<html><body>2502</body></html>"));
  EXPECT_EQ(Check(server.Port()), UpdateCheck::kNotAVersion);
  EXPECT_EQ(OnlyMessage(), "Invalid call to 127.0.0.1.");
  EXPECT_TRUE(window.OpenedPages().empty());
}

TEST_F(UpdateCheckTest, EveryFailureEndsPromptlyAsNoAnswer) {
  const std::string error = "An error occurred while contacting 127.0.0.1.";
  {
    FakeHttpServer server(FakeHttpServer::kReply, "HTTP/1.0 404 Not Found\r\n\r\n2502");
    EXPECT_EQ(Check(server.Port()), UpdateCheck::kNoAnswer);
  }
  // Trailing text, and a reply beyond 4 KiB, even if its version would read.
  for (const auto& body : {std::string("2502 and more"), "2502" + std::string(5000, ' ')}) {
    FakeHttpServer server(FakeHttpServer::kReply, HttpOkReply(body));
    EXPECT_EQ(Check(server.Port()), UpdateCheck::kNoAnswer);
  }
  for (const auto mode : {FakeHttpServer::kQueueFull, FakeHttpServer::kSilent,
                          FakeHttpServer::kEndless, FakeHttpServer::kEndlessLine}) {
    FakeHttpServer server(mode);
    EXPECT_EQ(Check(server.Port()), UpdateCheck::kNoAnswer);
  }
  int refusedPort;
  {
    FakeHttpServer server(FakeHttpServer::kReply, HttpOkReply("2501"));
    refusedPort = server.Port();
    Check(refusedPort);
  }
  EXPECT_EQ(Check(refusedPort), UpdateCheck::kNoAnswer);
  ASSERT_EQ(window.Messages().size(), 9u);
  for (size_t i : {0, 1, 2, 3, 4, 5, 6, 8}) EXPECT_EQ(window.Messages()[i].text, error);
  EXPECT_TRUE(window.OpenedPages().empty());
}

}  // namespace
