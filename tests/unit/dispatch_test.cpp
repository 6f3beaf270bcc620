#include <gtest/gtest.h>

#include "document/opcodes.h"
#include "tests/unit/interpreter_fixture.h"

namespace quillon::test {
namespace {

using DispatchTest = InterpreterTest;

// Device notes and drawing calls of the trace, in order.
std::vector<std::string> Drawn(const TraceDevice& dev) {
  std::vector<std::string> found;
  for (const auto& line : dev.lines())
    for (const char* prefix :
         {"Note ", "Polyline ", "PolyBezier ", "Polygon ", "PolyPolygon ", "Rectangle "})
      if (line.rfind(prefix, 0) == 0) found.push_back(line);
  return found;
}

KpzCompoundPart Part(std::uint8_t type, std::vector<DevicePoint> points) {
  KpzCompoundPart part;
  part.type = type;
  part.points = std::move(points);
  return part;
}

TEST_F(DispatchTest, CompoundShapeOfTwoPartsClosedGivesSixPoints) {
  KpzBuilder b;
  KpzShape shape;
  shape.closeFlag = 1;
  shape.parts = {Part(4, {{1, 2}, {3, 4}, {5, 6}}), Part(5, {{7, 8}, {-9, 10}})};
  b.BeginPage().CompoundShape(0, {shape}).Polyline({{0, 0}}).EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 2u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 6 (1,2) (3,4) (5,6) (7,8) (-9,10) (1,2)");
  EXPECT_EQ(Drawn(dev)[1], "Polyline 1 (0,0)");
}

TEST_F(DispatchTest, CompoundShapeFilledWithBezierAndUnknownParts) {
  KpzBuilder b;
  KpzShape open;
  open.parts = {Part(6, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}), Part(9, {}), Part(4, {{4, 4}})};
  KpzShape second;
  second.closeFlag = 1;
  second.parts = {Part(4, {{10, 10}, {20, 10}, {20, 20}})};
  b.BeginPage().CompoundShape(2, {open, second}).EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 3u);
  EXPECT_EQ(Drawn(dev)[0], "PolyBezier 4 (0,0) (1,1) (2,2) (3,3)");
  EXPECT_EQ(Drawn(dev)[1], "Polygon 5 (0,0) (1,1) (2,2) (3,3) (4,4)");
  EXPECT_EQ(Drawn(dev)[2], "Polygon 4 (10,10) (20,10) (20,20) (10,10)");
}

TEST_F(DispatchTest, CompoundPartWhosePointsOverrunItsLengthEndsPage) {
  KpzBuilder b;
  KpzShape shape;
  KpzCompoundPart part = Part(4, {{1, 2}, {3, 4}});
  part.partLen = 8;  // count plus one point only
  shape.parts = {part};
  b.BeginPage().CompoundShape(0, {shape}).Polyline({{9, 9}}).EndPage();
  b.BeginPage().Polyline({{1, 1}}).EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (1,1)");
}

TEST_F(DispatchTest, CompoundNegativePartLengthEndsPage) {
  KpzBuilder b;
  KpzShape shape;
  KpzCompoundPart part = Part(5, {{1, 2}});
  part.partLen = -6;
  shape.parts = {part};
  b.BeginPage().CompoundShape(0, {shape}).Polyline({{9, 9}}).EndPage();
  Open(b);
  DrawScreen();
  EXPECT_TRUE(Drawn(dev).empty());
}

TEST_F(DispatchTest, PointsTurnWithViewRotation) {
  KpzBuilder b;
  b.PageSize(1.0, 0.8, 1000);
  b.BeginPage().Polyline({{10, 20}}).ShortPolyline({{10, 20}}).Bezier({{10, 20}}).EndPage();
  Open(b);
  st->rotation = 90;
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 3u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (780,10)");
  EXPECT_EQ(Drawn(dev)[1], "Polyline 1 (780,10)");
  EXPECT_EQ(Drawn(dev)[2], "PolyBezier 1 (780,10)");
  dev.Clear();
  st->rotation = 270;
  DrawScreen();
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (20,990)");
}

TEST_F(DispatchTest, FillRecordsReadExactly) {
  KpzBuilder b;
  KpzPattern pattern;
  pattern.id = 9;
  pattern.rows = 2;
  pattern.bytesPerRow = 4;
  pattern.width = 8;
  b.BeginPage()
      .PolygonSet(3, {{{0, 0}, {5, 0}, {5, 5}}, {{1, 1}}})
      .ShortPolygonSet(2, {{{-1, -2}, {3, 4}}})
      .Rectangles({{1, 2, 3, 4}, {5, 6, 7, 8}})
      .PatternDefinition(pattern)
      .PenTouch()
      .Polyline({{0, 0}})
      .EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 5u);
  EXPECT_EQ(Drawn(dev)[0], "PolyPolygon counts=[3,1] (0,0) (5,0) (5,5) (1,1)");
  EXPECT_EQ(Drawn(dev)[1], "PolyPolygon counts=[2] (-1,-2) (3,4)");
  EXPECT_EQ(Drawn(dev)[2], "Rectangle 1 2 3 4");
  EXPECT_EQ(Drawn(dev)[3], "Rectangle 5 6 7 8");
  EXPECT_EQ(Drawn(dev)[4], "Polyline 1 (0,0)");
  ASSERT_EQ(st->patterns.count, 1u);
  EXPECT_EQ(st->patterns.entries[0].id, 9);
  // The outlined set made the outline pen, the pen touch the line pen that the polyline used.
  EXPECT_EQ(dev.Count("ExtCreatePen"), 2u);
  EXPECT_TRUE(st->line.valid);
}

TEST_F(DispatchTest, SheetBackgroundSetsSolidFillAndTurnsRing) {
  KpzBuilder b;
  b.PageSize(1.0, 0.5, 1000);
  b.BeginPage().SheetBackground(1000, 0.2, 0.1, 0x00ABCDEF).EndPage();
  Open(b);
  st->fill.valid = true;
  st->fill.style = 4;
  st->rotation = 180;
  DrawScreen();
  EXPECT_EQ(st->fill.colour, 0x00EFCDABu);
  EXPECT_EQ(st->fill.colourMode, 1);
  EXPECT_EQ(st->fill.style, 0);
  EXPECT_TRUE(st->fill.valid);  // the fill made a solid brush in the new colour
  EXPECT_EQ(dev.Count("CreateSolidBrush colour=0xEFCDAB"), 1u);
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0],
            "PolyPolygon counts=[5] (1000,500) (1000,400) (800,400) (800,500) (1000,500)");
}

TEST_F(DispatchTest, RasterRecordsReadExactly) {
  KpzBuilder b;
  KpzRasterHeader header;
  header.format = 0x0004;
  header.rows = 3;
  header.colours = {};  // still one colour in the file
  const std::uint8_t data[] = {1, 2, 3, 4, 5};
  b.BeginPage()
      .RasterHeader(header)
      .RasterData(data)
      .RasterLevels({{10, 20, 30}, {5, 10, 40}})
      .Polyline({{0, 0}})
      .EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 4u);
  EXPECT_EQ(Drawn(dev)[0].rfind("Note raster-header flags=0 format=4", 0), 0u);
  EXPECT_EQ(Drawn(dev)[1], "Note raster-data len=5");
  EXPECT_EQ(Drawn(dev)[2], "Note raster-levels n=2 (10x20@30) (5x10@40)");
  EXPECT_EQ(Drawn(dev)[3], "Polyline 1 (0,0)");
  EXPECT_EQ(ctx.halvingMode(), DrawContext::kHalvingOr);  // not a bitonal kind
}

TEST_F(DispatchTest, CompoundPartWithBytesAfterItsPointsCannotOutrunTheCount) {
  // The first pass steps over part A's nine trailing bytes and counts 10001 points, so the
  // point buffer holds exactly 10001. The second pass steps by counts and reads those bytes as
  // a part of two points, whose second would land one past the buffer: the page must end.
  KpzBuilder b;
  std::vector<DevicePoint> many(10000, DevicePoint{1, 1});
  KpzCompoundPart a = Part(4, many);
  KpzShape shape;
  shape.parts = {a, Part(4, {{2, 2}})};
  const std::vector<std::uint8_t> fakePart = {4, 0, 0, 0, 0, 2, 0, 0, 0};
  shape.parts[0].trailing = fakePart;
  b.BeginPage().CompoundShape(0, {shape}).Polyline({{9, 9}}).EndPage();
  b.BeginPage().Polyline({{1, 1}}).EndPage();
  Open(b);
  DrawScreen();
  ASSERT_EQ(Drawn(dev).size(), 1u);
  EXPECT_EQ(Drawn(dev)[0], "Polyline 1 (1,1)");
}

}  // namespace
}  // namespace quillon::test
