// The http branch for real: Wine's (or Windows') urlmon downloads from a server inside this
// process on 127.0.0.1, and the loader maps the cache file it names.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "document/document_loader.h"
#include "document/win32/win32_document_platform.h"
#include "tests/win32/loopback_http_server.h"

namespace quillon {
namespace {

using test::LoopbackHttpServer;

// The cache outlives a test run: each run asks for paths of its own.
std::string UniquePath(const std::string& stem) {
  return "/" + stem + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
         std::to_string(::GetTickCount()) + ".kpz";
}

std::vector<std::uint8_t> WrappedPlot() {
  std::vector<std::uint8_t> bytes = {0xCE, 0xFA, 0xBE, 0xBA};
  for (int i = 0; i < 3000; ++i) bytes.push_back(static_cast<std::uint8_t>(i ^ (i >> 8)));
  return bytes;
}

class UrlDownloadTest : public ::testing::Test {
 protected:
  std::vector<std::string> messages;
  Win32DocumentPlatform platform{[this](const std::string& text) { messages.push_back(text); }};
  DocumentLoader loader{platform};
};

TEST_F(UrlDownloadTest, DownloadedPlotIsMappedFromTheCache) {
  LoopbackHttpServer server;
  ASSERT_NE(server.port(), 0);
  const std::string path = UniquePath("plan");
  const std::vector<std::uint8_t> body = WrappedPlot();
  server.Serve(path, body);

  ASSERT_EQ(loader.OpenDocument(server.Url(path), 640, 480), 0)
      << (messages.empty() ? "" : messages[0]);
  const auto view = loader.document()->view;
  ASSERT_EQ(view.size(), body.size());
  EXPECT_TRUE(std::equal(view.begin(), view.end(), body.begin()));
  EXPECT_EQ(server.requests(), std::vector<std::string>{path});
  EXPECT_TRUE(messages.empty());
}

TEST_F(UrlDownloadTest, CapitalHttpIsAUrlToo) {
  LoopbackHttpServer server;
  ASSERT_NE(server.port(), 0);
  const std::string path = UniquePath("upper");
  server.Serve(path, WrappedPlot());
  std::string url = server.Url(path);
  url.replace(0, 4, "HTTP");
  ASSERT_EQ(loader.OpenDocument(url, 1, 1), 0) << (messages.empty() ? "" : messages[0]);
  EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(UrlDownloadTest, ClosedPortShowsTheDownloadMessageOnceOverTwoAttempts) {
  const unsigned short port = test::ClosedLoopbackPort();
  ASSERT_NE(port, 0);
  const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/plan.kpz";
  EXPECT_EQ(loader.OpenDocument(url, 1, 1), -1);
  EXPECT_EQ(loader.OpenDocument(url, 1, 1), -1);
  EXPECT_EQ(messages, std::vector<std::string>{"Unable to download KPZ file : " + url});
  EXPECT_EQ(loader.document(), nullptr);
}

TEST_F(UrlDownloadTest, MissingResourceFailsWithOneMessage) {
  // Windows' urlmon fails a 404 and the loader says "Unable to download". Wine 8's urlmon
  // instead stores the error page in the cache and reports success; the outer-form check then
  // refuses that page as "Invalid file". Either way: -1, no document, one message.
  LoopbackHttpServer server;
  ASSERT_NE(server.port(), 0);
  const std::string url = server.Url(UniquePath("absent"));
  EXPECT_EQ(loader.OpenDocument(url, 1, 1), -1);
  EXPECT_EQ(loader.OpenDocument(url, 1, 1), -1);
  EXPECT_EQ(loader.document(), nullptr);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0] == "Unable to download KPZ file : " + url ||
              messages[0] == "Invalid file : " + url)
      << messages[0];
  EXPECT_FALSE(server.requests().empty());
}

}  // namespace
}  // namespace quillon
