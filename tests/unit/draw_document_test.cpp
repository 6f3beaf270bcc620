#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "document/opcodes.h"
#include "tests/unit/interpreter_fixture.h"

namespace quillon::test {
namespace {

using DrawDocumentTest = InterpreterTest;

// Device notes and drawing calls of the trace, in order.
std::vector<std::string> Drawn(const TraceDevice& dev) {
  std::vector<std::string> found;
  for (const auto& line : dev.lines())
    for (const char* prefix : {"Note ", "Polyline ", "PolyBezier ", "Polygon "})
      if (line.rfind(prefix, 0) == 0) found.push_back(line);
  return found;
}

TEST_F(DrawDocumentTest, EmptyPageTableStillOpensAndClosesPrintJob) {
  KpzBuilder b;
  Open(b);
  int released = 0;
  ctx.SetPrintDeviceRelease([&](Device& d) {
    EXPECT_EQ(&d, &dev);
    ++released;
  });
  DrawPrint();
  EXPECT_EQ(dev.Count("StartDoc \"plot.kpz\""), 1u);
  EXPECT_EQ(dev.Count("StartPage"), 1u);
  EXPECT_EQ(dev.Count("EndDoc"), 1u);
  EXPECT_TRUE(Drawn(dev).empty());
  EXPECT_EQ(released, 1);
  EXPECT_EQ(st->target, nullptr);
  EXPECT_FALSE(st->printing);
}

TEST_F(DrawDocumentTest, EndOfPageFirstEndsPageAndPrinterPage) {
  KpzBuilder b;
  b.BeginPage().EndPage().BeginPage().Polyline({{1, 2}, {3, 4}}).EndPage();
  Open(b);
  DrawPrint();
  EXPECT_EQ(dev.Count("EndPage"), 2u);
  ASSERT_EQ(Drawn(dev).size(), 1u);  // page 1 drew nothing of page 2's records
  EXPECT_EQ(Drawn(dev)[0], "Polyline 2 (1,2) (3,4)");
  // The end-of-page on the first page comes before anything of the second.
  const auto& lines = dev.lines();
  auto firstEnd = std::find(lines.begin(), lines.end(), "EndPage");
  auto note = std::find(lines.begin(), lines.end(), "Polyline 2 (1,2) (3,4)");
  EXPECT_LT(firstEnd, note);
}

TEST_F(DrawDocumentTest, UnknownOpcodeSkippedByItsLength) {
  KpzBuilder b;
  const std::vector<std::uint8_t> payload(12, 0x04);  // would read as polylines if not skipped
  b.BeginPage().LengthPrefixed(200, payload).Polyline({{5, 6}}).EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (5,6)");
}

TEST_F(DrawDocumentTest, ScreenDrawDuringPrintDrawsNothing) {
  KpzBuilder b;
  b.BeginPage().Polyline({{5, 6}}).EndPage();
  Open(b);
  st->printing = true;
  EXPECT_EQ(ctx.DrawDocument(&dev, 0, 500, 500, 0, 0, "plot.kpz", 0), 0);
  EXPECT_TRUE(dev.lines().empty());
  EXPECT_EQ(st->target, nullptr);
  EXPECT_TRUE(st->printing);
}

TEST_F(DrawDocumentTest, RecomputedExtentsFollowZoom) {
  KpzBuilder b;
  b.PageSize(2.0, 1.0, 1000);
  Open(b);
  st->zoom = 0.5;
  st->recomputeExtents = true;
  DrawScreen(123, 456);
  EXPECT_DOUBLE_EQ(st->resultWidth, 1000);
  EXPECT_DOUBLE_EQ(st->resultHeight, 500);
  EXPECT_EQ(ctx.pageDotsX(), 2000);
  EXPECT_EQ(ctx.pageDotsY(), 1000);
}

TEST_F(DrawDocumentTest, RecomputeWithoutZoomReportsGivenExtents) {
  KpzBuilder b;
  Open(b);
  st->recomputeExtents = true;
  DrawScreen(640, 480);
  EXPECT_DOUBLE_EQ(st->resultWidth, 640);
  EXPECT_DOUBLE_EQ(st->resultHeight, 480);
}

TEST_F(DrawDocumentTest, InvalidIndexDrawsNothing) {
  KpzBuilder b;
  b.BeginPage().Polyline({{5, 6}}).EndPage();
  b.index().opcode = 7;
  Open(b);
  DrawScreen();
  EXPECT_TRUE(dev.lines().empty());
  DrawPrint();
  EXPECT_EQ(dev.Count("StartDoc"), 0u);
  EXPECT_FALSE(st->printing);
}

TEST_F(DrawDocumentTest, ScaleOptionZeroPrintsNoJob) {
  KpzBuilder b;
  b.BeginPage().Polyline({{5, 6}}).EndPage();
  Open(b);
  st->print.scaleOption = ScaleOption::None;
  DrawPrint();
  EXPECT_EQ(dev.Count("StartDoc"), 0u);
  EXPECT_EQ(dev.Count("EndDoc"), 0u);
  EXPECT_TRUE(Drawn(dev).empty());
  EXPECT_FALSE(st->printing);
}

TEST_F(DrawDocumentTest, PagesDrawnInTableOrder) {
  KpzBuilder b;
  b.BeginPage().Polyline({{1, 1}}).EndPage().BeginPage().Polyline({{2, 2}}).EndPage();
  const auto pages = b.Layout().pages;
  b.PageTableEntries({pages[1], pages[0]});
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 2u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (2,2)");
  EXPECT_EQ(Drawn(dev)[1], "Polyline 1 (1,1)");
}

TEST_F(DrawDocumentTest, PageFilterDrawsOnlyThatPageOfTheTable) {
  KpzBuilder b;
  b.BeginPage().Polyline({{1, 1}}).EndPage().BeginPage().Polyline({{2, 2}}).EndPage();
  Open(b);
  const struct {
    std::optional<std::uint32_t> page;
    std::vector<std::string> drawn;
  } cases[] = {{1, {"Polyline 1 (2,2)"}},
               {0, {"Polyline 1 (1,1)"}},
               {7, {}},
               {std::nullopt, {"Polyline 1 (1,1)", "Polyline 1 (2,2)"}}};
  for (const auto& c : cases) {
    dev.Clear();
    ctx.SetPageFilter(c.page);
    DrawScreen();
    EXPECT_EQ(Drawn(dev), c.drawn);
  }
}

TEST_F(DrawDocumentTest, WrappedFileDrawsLikePlain) {
  KpzBuilder b;
  KpzWrapperLayout wrapper;
  wrapper.strings[0] = "name";
  wrapper.blockSizes = {7, 3};
  wrapper.remainder = 2;
  b.Wrapped(wrapper).BeginPage().Polyline({{7, 8}}).EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (7,8)");
}

// A broken record ends its page; the walk goes on with the next page.
class BrokenRecordTest : public InterpreterTest {
 protected:
  void DrawWithBrokenFirstPage(const std::function<void(KpzBuilder&)>& broken) {
    KpzBuilder b;
    b.BeginPage();
    broken(b);
    b.Polyline({{9, 9}}).EndPage();
    b.BeginPage().Polyline({{1, 2}}).EndPage();
    Open(b);
    DrawScreen();
  }
};

TEST_F(BrokenRecordTest, NegativeLengthEndsPage) {
  const std::vector<std::uint8_t> payload(8, 0);
  DrawWithBrokenFirstPage([&](KpzBuilder& b) { b.LengthPrefixed(200, payload, -5); });
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (1,2)");
}

TEST_F(BrokenRecordTest, NegativeRasterDataLengthEndsPage) {
  DrawWithBrokenFirstPage([](KpzBuilder& b) {
    b.Raw({opcode::RasterDataRecord, 0xFB, 0xFF, 0xFF, 0xFF});
  });
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (1,2)");
}

TEST_F(BrokenRecordTest, PointCountBeyondFileEndsPage) {
  DrawWithBrokenFirstPage([](KpzBuilder& b) { b.Polyline({{3, 3}}, 0x20000000u); });
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (1,2)");
  EXPECT_EQ(ctx.pointCapacity(), DrawContext::kInitialPointCapacity);
}

TEST_F(BrokenRecordTest, HugeSkipCountEndsPage) {
  DrawWithBrokenFirstPage([](KpzBuilder& b) {
    // Opcode 34: length, 4 bytes, a count of 16-byte entries far beyond the file.
    b.Raw({opcode::Record34, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F});
  });
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (1,2)");
}

TEST_F(BrokenRecordTest, NegativePolygonCountEndsPage) {
  DrawWithBrokenFirstPage([](KpzBuilder& b) {
    b.Raw({opcode::PolygonSetRecord, 0, 0, 0, 0, 3, 0xFF, 0xFF, 0xFF, 0xFF});
  });
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (1,2)");
}

TEST_F(DrawDocumentTest, RecordCutByEndOfFileEndsWalk) {
  KpzBuilder b;
  b.BeginPage().Polyline({{1, 1}}).Polyline({{2, 2}, {3, 3}, {4, 4}});
  const std::size_t cut = b.Layout().dataStart + b.Offset() - 5;
  std::vector<std::uint8_t> bytes = b.Build();
  bytes.resize(cut);
  // The index record is gone with the cut: the file is refused before any page is walked.
  Open(bytes);
  DrawScreen();
  EXPECT_TRUE(dev.lines().empty());
}

TEST_F(DrawDocumentTest, PageWithoutEndRunsOnIntoFollowingRecords) {
  KpzBuilder b;
  b.BeginPage().Polyline({{1, 1}});  // no end-of-page
  b.BeginPage().Polyline({{2, 2}}).EndPage();
  Open(b);
  DrawPrint();
  ASSERT_EQ(Drawn(dev).size(), 3u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (1,1)");
  EXPECT_EQ(Drawn(dev)[1], "Polyline 1 (2,2)");
  EXPECT_EQ(Drawn(dev)[2], "Polyline 1 (2,2)");
  EXPECT_EQ(dev.Count("EndPage"), 2u);
}

TEST_F(DrawDocumentTest, LastPageWithoutEndRunsThroughTablesAndIndex) {
  KpzBuilder b;
  b.AddLineStyle({4, 2});
  b.PatternTableDeclaration(3).Table47(2, {1, 2, 3, 4}).Table45(1, 2);
  b.BeginPage().Polyline({{1, 1}});
  Open(b);
  DrawPrint();
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(dev.Count("EndPage"), 0u);
  EXPECT_EQ(dev.Count("EndDoc"), 1u);
  EXPECT_EQ(st->cursor, doc->view.size());  // walked up to the end of the index record
}

TEST_F(DrawDocumentTest, TextRecordsSteppedOver) {
  KpzBuilder b;
  b.BeginPage()
      .Text(1, {{1, 1}, {2, 2}}, "AB")
      .Text(0, {{1, 1}}, "xyz")
      .WideText(1, {{3, 3}}, u"\u00e9")
      .Font("Arial", 12)
      .Polyline({{5, 6}, {7, 8}})
      .EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 2 (5,6) (7,8)");
}

TEST_F(DrawDocumentTest, SkippedRecordsKeepAlignment) {
  KpzBuilder b;
  b.BeginPage()
      .Skip(9)
      .Skip(10)
      .Skip(13)
      .Skip(17)
      .Skip(43)
      .Record34(2)
      .Record38(3)
      .Record41(2, 3)
      .Skip(40, 5)
      .Polyline({{5, 6}})
      .EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (5,6)");
}

// A page that starts in the index record's padding with a one-point polyline whose y runs
// into the file's last 4 bytes (the index size): the record ends exactly at the file's last
// byte, or one before it. Both are drawn; the file is exactly sized, so a read past its end
// shows under the sanitizers.
TEST_F(DrawDocumentTest, RecordsEndingAtTheLastByteOrOneBeforeAreDrawn) {
  struct Case {
    std::uint32_t padding;  // 13: ends at the last byte; 14: one before it
    std::int32_t y;         // the trailer (42 + padding + 4), whole or shifted by a byte
  };
  for (const Case c : {Case{13, 59}, Case{14, 60 << 8}}) {
    KpzBuilder b;
    b.BeginPage().EndPage();
    b.index().padding = c.padding;
    const std::uint32_t at = b.Layout().index + 42;
    b.PageTableEntries({at});
    std::vector<std::uint8_t> bytes = b.Build();
    const std::uint8_t record[] = {4, 12, 0, 0, 0, 1, 0, 0, 0, 7, 0, 0, 0, 0};
    std::copy_n(record, c.padding, bytes.begin() + at);
    ASSERT_EQ(bytes.size(), at + 17u + (c.padding == 14 ? 1u : 0u));
    Open(bytes);
    DrawScreen();
    EXPECT_EQ(Drawn(dev), std::vector<std::string>{"Polyline 1 (7," + std::to_string(c.y) + ")"})
        << "padding " << c.padding;
    dev.Clear();
  }
}

// Kept between draws; a document opened after it starts small again.
TEST_F(DrawDocumentTest, PointBufferGrowsAndKeepsCapacity) {
  std::vector<DevicePoint> many(12000, DevicePoint{1, 1});
  KpzBuilder b;
  b.BeginPage().Polyline(many).EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0].rfind("Polyline 12000 (1,1)", 0), 0u);
  EXPECT_EQ(ctx.pointCapacity(), 12000u);
  DrawScreen();
  EXPECT_EQ(ctx.pointCapacity(), 12000u);
  KpzBuilder small;
  small.BeginPage().Polyline({{2, 2}}).EndPage();
  Open(small);
  DrawScreen();
  EXPECT_EQ(ctx.pointCapacity(), DrawContext::kInitialPointCapacity);
  EXPECT_EQ(Drawn(dev).back(), "Polyline 1 (2,2)");
}

TEST_F(DrawDocumentTest, OpenBuildsOrTablesAndBitonalBlackBackgroundSwitchesToAnd) {
  KpzBuilder b;
  KpzRasterHeader header;
  header.format = 0x1000;
  header.backColour = 0;
  b.BeginPage().RasterHeader(header).EndPage();
  Open(b);
  EXPECT_EQ(ctx.halvingMode(), DrawContext::kHalvingOr);
  EXPECT_EQ(ctx.halvingTables().high[0x40], 0x80);  // either bit of the pair
  DrawScreen();
  EXPECT_EQ(ctx.halvingMode(), DrawContext::kHalvingAnd);
  EXPECT_EQ(ctx.halvingTables().high[0x40], 0x00);
  EXPECT_EQ(st->rasterOrdinal, 0);
}

TEST(PrintJobNameTest, NamePartOfDocument) {
  EXPECT_EQ(DrawContext::PrintJobName("C:\\plans\\site plan.kpz"), "site plan.kpz");
  EXPECT_EQ(DrawContext::PrintJobName("http://host/a/b.kpz"), "b.kpz");
  EXPECT_EQ(DrawContext::PrintJobName("x\\y/z\\w.kpz"), "z\\w.kpz");  // '/' wins
  EXPECT_EQ(DrawContext::PrintJobName("plain.kpz"), "plain.kpz");
  EXPECT_EQ(DrawContext::PrintJobName("dir/"), "");
  EXPECT_EQ(DrawContext::PrintJobName(""), "VEXL to GDI Test");
}

TEST_F(DrawDocumentTest, ResetDrawStateRestoresDefaultsButKeepsMixModes) {
  KpzBuilder b;
  b.BeginPage()
      .LineModeColour(4, KpzBuilder::Rgb(1, 2, 3))
      .OutlineModeColour(4, KpzBuilder::Rgb(4, 5, 6))
      .LineWidth(3)
      .FillColour(2, KpzBuilder::Rgb(9, 9, 9))
      .FillStyle(5)
      .Value32(77)
      .EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(st->unusedValue32, 77);
  st->line.valid = st->outline.valid = st->fill.valid = true;
  ctx.ResetDrawState();
  EXPECT_EQ(st->line.colour, 0u);
  EXPECT_EQ(st->outline.colour, 0u);
  EXPECT_EQ(st->line.width, 1.0);
  EXPECT_EQ(st->fill.colour, 0xFFFFFFu);
  EXPECT_EQ(st->fill.colourMode, 0);
  EXPECT_EQ(st->fill.style, 0);
  EXPECT_EQ(st->line.join, 4);
  EXPECT_EQ(st->line.cap, 3);
  EXPECT_EQ(st->unusedValue32, 0);
  EXPECT_FALSE(st->line.valid || st->outline.valid || st->fill.valid);
  EXPECT_EQ(st->line.mix, 4);
  EXPECT_EQ(st->outline.mix, 4);
}

TEST_F(DrawDocumentTest, SelectInitialObjectsSelectsRoundPenAndSolidBrush) {
  KpzBuilder b;
  Open(b);
  ctx.ResetDrawState();
  st->line.colour = 0x0000FF;
  st->target = &dev;
  ctx.SelectInitialObjects();
  ASSERT_EQ(dev.lines().size(), 5u);
  EXPECT_EQ(dev.lines()[0],
            "ExtCreatePen style=0x10000 width=1 colour=0x0000FF dashes=[] -> pen#1");
  EXPECT_EQ(dev.lines()[1], "CreateSolidBrush colour=0xFFFFFF -> brush#2");
  EXPECT_EQ(dev.lines()[2], "SelectObject pen#1 -> stock#7");
  EXPECT_EQ(dev.lines()[3], "SelectObject brush#2 -> stock#0");
  EXPECT_EQ(dev.lines()[4], "SetMiterLimit 1");
  EXPECT_EQ(st->line.pen, dev.selectedPen());
  EXPECT_EQ(st->fill.brush, dev.selectedBrush());
}

}  // namespace
}  // namespace quillon::test
