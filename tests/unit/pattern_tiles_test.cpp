#include "render/pattern_tiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/pattern_table.h"
#include "tests/unit/interpreter_fixture.h"

namespace quillon::test {
namespace {

KpzPattern Stripes(std::uint16_t id, std::int32_t width, std::int32_t rows) {
  KpzPattern p;
  p.id = id;
  p.width = width;
  p.rows = rows;
  p.bytesPerRow = 4;
  p.format = 0x8010;
  p.colours = {0, 0};
  p.pixels.assign(static_cast<std::size_t>(rows) * 4, 0xAA);
  return p;
}

class PatternTilesTest : public InterpreterTest {
 protected:
  void Print(KpzBuilder& b) {
    b.EndPage();
    Open(b);
    dev.SetClipBox({0, 0, 1000, 1000});
    DrawPrint();
  }
  std::vector<std::string> Between(const std::string& first, const std::string& last) const {
    std::vector<std::string> out;
    bool on = false;
    for (const auto& line : dev.lines()) {
      on = on || line.rfind(first, 0) == 0;
      if (on) out.push_back(line);
      if (on && line.rfind(last, 0) == 0) break;
    }
    return out;
  }
};

const std::vector<DevicePoint> kTriangle = {{10, 10}, {25, 10}, {10, 45}, {10, 10}};

TEST_F(PatternTilesTest, TilesCoverTheGridInsideTheClipPathAndTheClipIsRestored) {
  KpzBuilder b;
  b.PatternTableDeclaration(1)
      .BeginPage()
      .PatternDefinition(Stripes(7, 10, 20))
      .FillStyle(7)
      .PolygonSet(2, {kTriangle});
  Print(b);
  const auto lines = Between("GetClipBox", "SelectClipPath 5");
  const std::vector<std::string> expected = {
      "GetClipBox -> 0 0 1000 1000", "BeginPath", "MoveTo 10 10", "LineTo 25 10", "LineTo 10 45",
      "LineTo 10 10", "EndPath", "SelectClipPath 1",
      // maxX 25, maxY 45: 4 columns of 10, 4 rows of 20; the box 10..25 x 10..45 meets
      // columns 1 and 2 and rows 0 to 2.
      "RectVisible 10 0 20 20 -> 1",
      "StretchDIBits dest=10,0,10,20 src=0,0,10,20 info=48 bits=80 rop=0x00CC0020",
      "RectVisible 20 0 30 20 -> 1",
      "StretchDIBits dest=20,0,10,20 src=0,0,10,20 info=48 bits=80 rop=0x00CC0020",
      "RectVisible 10 20 20 40 -> 1",
      "StretchDIBits dest=10,20,10,20 src=0,0,10,20 info=48 bits=80 rop=0x00CC0020",
      "RectVisible 20 20 30 40 -> 1",
      "StretchDIBits dest=20,20,10,20 src=0,0,10,20 info=48 bits=80 rop=0x00CC0020",
      "RectVisible 10 40 20 60 -> 1",
      "StretchDIBits dest=10,40,10,20 src=0,0,10,20 info=48 bits=80 rop=0x00CC0020",
      "RectVisible 20 40 30 60 -> 1",
      "StretchDIBits dest=20,40,10,20 src=0,0,10,20 info=48 bits=80 rop=0x00CC0020",
      "SelectClipRgnNone", "BeginPath", "MoveTo 0 0", "LineTo 1000 0", "LineTo 1000 1000",
      "LineTo 0 1000", "LineTo 0 0", "EndPath", "SelectClipPath 5"};
  EXPECT_EQ(lines, expected);
  // The tiles are the fill: opcode 7 adds its polygon with the null brush.
  const auto after = Between("SelectClipPath 5", "PolyPolygon");
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after.back().rfind("PolyPolygon", 0), 0u);
  EXPECT_NE(std::find(after.begin(), after.end(), "GetStockObject 5 -> stock#5"), after.end());
  EXPECT_EQ(dev.Count("CreateDibPatternBrush"), 0u);
}

TEST_F(PatternTilesTest, InvisibleTilesAreNotPainted) {
  KpzBuilder b;
  b.BeginPage().PatternDefinition(Stripes(7, 10, 20)).FillStyle(7).PolygonSet(2, {kTriangle});
  b.EndPage();
  Open(b);
  dev.SetClipBox({0, 0, 1000, 1000});
  dev.SetRectVisible(false);
  DrawPrint();
  EXPECT_EQ(dev.Count("RectVisible"), 6u);
  EXPECT_EQ(dev.Count("StretchDIBits"), 0u);
}

TEST_F(PatternTilesTest, ShortSetSkipsItsPolygonAfterTheTiles) {
  KpzBuilder b;
  b.BeginPage().PatternDefinition(Stripes(7, 10, 20)).FillStyle(7).ShortPolygonSet(3, {kTriangle});
  Print(b);
  EXPECT_EQ(dev.Count("StretchDIBits"), 6u);
  EXPECT_EQ(dev.Count("PolyPolygon"), 0u);
}

TEST_F(PatternTilesTest, SeeThroughModesUseTheRasterRopAndSwapColoursForPostScript) {
  KpzBuilder b;
  b.BeginPage()
      .PatternDefinition(Stripes(7, 10, 20))
      .FillStyle(7)
      .PatternFore(4, KpzBuilder::Rgb(255, 0, 0))
      .PatternBack(1, KpzBuilder::Rgb(0, 0, 255))
      .PolygonSet(2, {kTriangle});
  b.EndPage();
  Open(b);
  dev.SetClipBox({0, 0, 1000, 1000});
  dev.SetPostScript(true);
  DrawPrint();
  EXPECT_EQ(dev.Count("QueryEscapeSupport 4115 -> 1"), 1u);
  const auto tiles = dev.LinesStartingWith("StretchDIBits");
  ASSERT_FALSE(tiles.empty());
  EXPECT_NE(tiles[0].find("rop=0x008800C6"), std::string::npos);
  // Entry 1 red, entry 0 blue, each with red and blue exchanged.
  const auto colours = PatternColours(st->patterns.entries[0]);
  EXPECT_EQ(ColourEntry(colours, 1), 0x00FF0000u);
  EXPECT_EQ(ColourEntry(colours, 0), 0x000000FFu);
}

TEST_F(PatternTilesTest, PrintedPatternTurnsWithTheViewLikeOnScreen) {
  KpzBuilder b;
  b.PageSize(1.0, 1.0, 1000);
  b.BeginPage().PatternDefinition(Stripes(7, 10, 20)).FillStyle(7).PolygonSet(2, {kTriangle});
  b.EndPage();
  Open(b);
  st->rotation = 90;
  dev.SetClipBox({0, 0, 1000, 1000});
  ctx.ResetDrawState();
  st->target = &dev;
  ctx.DrawDocument(nullptr, 1, 1000, 1000, 0, 0, "plot.kpz", 0);
  const auto tiles = dev.LinesStartingWith("StretchDIBits");
  ASSERT_FALSE(tiles.empty());
  EXPECT_NE(tiles[0].find(",20,10 src=0,0,20,10"), std::string::npos);
}

TEST(TileGridTest, GridCountsFollowTheFarCornerAndStayWithinTheClip) {
  const std::vector<DevicePoint> area = {{5, 5}, {95, 5}, {95, 45}};
  const TileGrid grid = PlanTiles(area, 10, 10, DeviceRect{0, 0, 50, 50});
  EXPECT_EQ(grid.columns, 95 / 10 + 2);
  EXPECT_EQ(grid.rows, 45 / 10 + 2);
  EXPECT_EQ(grid.firstColumn, 0);
  EXPECT_EQ(grid.lastColumn, 4);  // the clip ends at 50
  EXPECT_EQ(grid.firstRow, 0);
  EXPECT_EQ(grid.lastRow, 4);
  const TileGrid outside = PlanTiles(area, 10, 10, DeviceRect{200, 200, 300, 300});
  EXPECT_GT(outside.firstColumn, outside.lastColumn);
  EXPECT_EQ(PlanTiles(area, 0, 10, std::nullopt).columns, 0);
  // A huge area with tiny tiles is bounded by the clip, not by its own size.
  const std::vector<DevicePoint> huge = {{0, 0}, {2000000000, 2000000000}};
  const TileGrid big = PlanTiles(huge, 1, 1, DeviceRect{0, 0, 100, 100});
  EXPECT_EQ(big.lastColumn - big.firstColumn + 1, 100);
}

TEST(TileGridTest, RopIsCopyUnlessAModeIsSeeThrough) {
  EXPECT_EQ(PrintPatternRop(1, 1, gdi::kRopSrcAnd), gdi::kRopSrcCopy);
  EXPECT_EQ(PrintPatternRop(2, 1, gdi::kRopSrcAnd), gdi::kRopSrcAnd);
  EXPECT_EQ(PrintPatternRop(1, 4, gdi::kRopSrcAnd), gdi::kRopSrcAnd);
  EXPECT_EQ(PrintPatternRop(4, 0, gdi::kRopSrcCopy), gdi::kRopSrcCopy);
  EXPECT_EQ(PrintPatternRop(8, 0, gdi::kRopSrcAnd), gdi::kRopSrcCopy);
}

TEST(TileGridTest, AreasAtNegativeCoordinatesAskOnlyTilesOfTheGrid) {
  // The grid starts at (0, 0): an area left of or above it asks no tile; one that reaches 0
  // exactly asks the first. Floor division keeps -1 out of column 0.
  struct Case {
    std::vector<DevicePoint> area;
    std::int64_t firstColumn, lastColumn;
  };
  const std::vector<Case> cases = {
      {{{-25, -25}, {-5, -5}}, 0, -1},
      {{{-20, -20}, {-1, -1}}, 0, -1},
      {{{-20, -20}, {0, 0}}, 0, 0},
      {{{-15, -15}, {25, 25}}, 0, 2},
      {{{-2147483647 - 1, 3}, {9, 4}}, 0, 0},
  };
  for (const Case& c : cases) {
    const TileGrid grid = PlanTiles(c.area, 10, 10, std::nullopt);
    EXPECT_EQ(grid.firstColumn, c.firstColumn) << c.area[0].x << ".." << c.area[1].x;
    EXPECT_EQ(grid.lastColumn, c.lastColumn) << c.area[0].x << ".." << c.area[1].x;
    EXPECT_GE(grid.firstRow, 0);
  }
}

}  // namespace
}  // namespace quillon::test
