#pragma once
// Opens KpzBuilder files through a real DocumentLoader on fake document services and draws
// them into a TraceDevice.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/draw_context.h"
#include "render/trace_device.h"
#include "tests/support/fake_document_platform.h"
#include "tests/support/kpz_builder.h"

namespace quillon::test {

class InterpreterTest : public ::testing::Test {
 protected:
  void Open(const KpzBuilder& builder) { Open(builder.Build()); }
  void Open(std::vector<std::uint8_t> bytes) {
    platform.AddFile("plot.kpz", std::move(bytes));
    ASSERT_EQ(ctx.OpenDocument("plot.kpz", 800, 600), 0);
    doc = ctx.document();
    st = ctx.state();
  }
  // The trace device stays the state's target afterwards, so that tests can call record
  // handlers and pen makers directly on what the draw left.
  void DrawScreen(double width = 1000, double height = 1000) {
    ctx.DrawDocument(&dev, 0, width, height, 0, 0, "plot.kpz", 0);
    st->target = &dev;
  }
  void DrawPrint(int plotType = 0) {
    ctx.ResetDrawState();
    st->target = &dev;
    ctx.DrawDocument(nullptr, 1, 1000, 1000, 0, 0, "C:\\plots\\plot.kpz", plotType);
  }
  std::vector<std::string> Notes() const { return dev.LinesStartingWith("Note "); }

  FakeDocumentPlatform platform;
  DrawContext ctx{platform, 0, 0};
  TraceDevice dev;
  const KpzDocument* doc = nullptr;
  DrawState* st = nullptr;
};

}  // namespace quillon::test
