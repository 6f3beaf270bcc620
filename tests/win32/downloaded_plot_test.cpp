// A plot fetched over http by the real urlmon, prepared by the interpreter and drawn on a
// memory DC through GDI. No <windows.h> here: the interpreter's headers use GDI's names.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/win32/memory_dc.h"
#include "document/win32/win32_document_platform.h"
#include "render/draw_context.h"
#include "render/win32/gdi_device.h"
#include "tests/support/kpz_builder.h"
#include "tests/win32/loopback_http_server.h"

namespace quillon {
namespace {

TEST(DownloadedPlot, IsPreparedAndDrawnOnAMemoryDc) {
  test::LoopbackHttpServer server;
  ASSERT_NE(server.port(), 0);
  KpzBuilder builder;
  builder.PageSize(0.1, 0.05, 1000).BeginPage().Polyline({{10, 10}, {90, 40}}).EndPage();
  // The cache outlives a run: a path of this run's own.
  const std::string path =
      "/drawn-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
      ".kpz";
  server.Serve(path, builder.Build());

  std::vector<std::string> messages;
  Win32DocumentPlatform platform([&](const std::string& text) { messages.push_back(text); });
  DrawContext context(platform, 0, 0);
  ASSERT_EQ(context.OpenDocument(server.Url(path), 200, 100), 0)
      << (messages.empty() ? "" : messages[0]);
  EXPECT_EQ(context.halvingMode(), DrawContext::kHalvingOr);
  MemoryDc surface(200, 100);
  ASSERT_TRUE(surface.valid());
  GdiDevice device(surface.dc());
  EXPECT_EQ(context.DrawDocument(&device, 0, 200, 100, 0, 0, server.Url(path), 0), 0);
  // The header came through the download and the mapping intact: 0.1 m x 0.05 m at
  // 1000 dots per metre.
  EXPECT_EQ(context.pageDotsX(), 100);
  EXPECT_EQ(context.pageDotsY(), 50);
  context.CloseDocument(&device);
  EXPECT_EQ(context.document(), nullptr);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(server.requests(), std::vector<std::string>{path});
}

}  // namespace
}  // namespace quillon
