#include "render/vector_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/unit/interpreter_fixture.h"

namespace quillon::test {
namespace {

KpzCompoundPart Part(std::uint8_t type, std::vector<DevicePoint> points) {
  KpzCompoundPart part;
  part.type = type;
  part.points = std::move(points);
  return part;
}

class VectorRecordsTest : public InterpreterTest {
 protected:
  void Draw(KpzBuilder& b) {
    b.EndPage();
    Open(b);
    DrawScreen();
  }
};

TEST_F(VectorRecordsTest, ClosedShapeOfTwoPartsIsOnePolylineOfSixPoints) {
  KpzBuilder b;
  KpzShape shape;
  shape.closeFlag = 1;
  shape.parts = {Part(4, {{1, 2}, {3, 4}, {5, 6}}), Part(5, {{7, 8}, {-9, 10}})};
  b.BeginPage().CompoundShape(0, {shape});
  Draw(b);
  EXPECT_EQ(dev.LinesStartingWith("Polyline"),
            std::vector<std::string>{"Polyline 6 (1,2) (3,4) (5,6) (7,8) (-9,10) (1,2)"});
  EXPECT_EQ(dev.Count("ExtCreatePen"), 1u);
  EXPECT_EQ(dev.Count("Polygon"), 0u);
}

TEST_F(VectorRecordsTest, FilledShapeSelectsSolidBrushOnceAndKeepsSelectedPen) {
  KpzBuilder b;
  KpzShape shape;
  shape.closeFlag = 1;
  shape.parts = {Part(4, {{0, 0}, {5, 0}, {5, 5}})};
  b.BeginPage().FillColour(1, KpzBuilder::Rgb(10, 20, 30)).CompoundShape(2, {shape, shape});
  Draw(b);
  EXPECT_EQ(dev.LinesStartingWith("CreateSolidBrush"),
            std::vector<std::string>{"CreateSolidBrush colour=0x1E140A -> brush#1"});
  EXPECT_EQ(dev.Count("Polygon 4 (0,0) (5,0) (5,5) (0,0)"), 2u);
  EXPECT_EQ(dev.Count("ExtCreatePen"), 0u);  // the edge uses whatever pen is selected
  EXPECT_TRUE(st->fill.valid);
  EXPECT_EQ(st->fill.brush, dev.selectedBrush());
}

TEST_F(VectorRecordsTest, BrushReplacedAfterFillStateChange) {
  KpzBuilder b;
  KpzShape shape;
  shape.parts = {Part(4, {{0, 0}, {5, 0}, {5, 5}})};
  b.BeginPage().CompoundShape(2, {shape}).FillColour(1, 0).CompoundShape(2, {shape});
  Draw(b);
  EXPECT_EQ(dev.Count("CreateSolidBrush"), 2u);
  EXPECT_EQ(dev.Count("DeleteObject brush#1"), 1u);
  ctx.CloseDocument(&dev);
  EXPECT_EQ(dev.liveObjects(), 0u);
}

TEST_F(VectorRecordsTest, BezierPartDrawnAtOnceAndKeptInTheOutline) {
  KpzBuilder b;
  KpzShape shape;
  shape.parts = {Part(4, {{9, 9}}), Part(6, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}), Part(7, {}),
                 Part(5, {{4, 4}})};
  b.BeginPage().CompoundShape(0, {shape});
  Draw(b);
  const std::vector<std::string> drawn = {"PolyBezier 4 (0,0) (1,1) (2,2) (3,3)",
                                          "Polyline 6 (9,9) (0,0) (1,1) (2,2) (3,3) (4,4)"};
  std::vector<std::string> seen;
  for (const auto& line : dev.lines())
    if (line.rfind("Poly", 0) == 0) seen.push_back(line);
  EXPECT_EQ(seen, drawn);
  EXPECT_EQ(dev.Count("ExtCreatePen"), 1u);  // made for the curve, reused for the outline
}

TEST_F(VectorRecordsTest, ClosedShapeWithoutPointsDrawsEmpty) {
  KpzBuilder b;
  KpzShape shape;
  shape.closeFlag = 1;
  b.BeginPage().CompoundShape(0, {shape}).Polyline({{1, 1}});
  Draw(b);
  EXPECT_EQ(dev.LinesStartingWith("Polyline"),
            (std::vector<std::string>{"Polyline 0", "Polyline 1 (1,1)"}));
}

TEST_F(VectorRecordsTest, BezierCountPassedAsRead) {
  KpzBuilder b;
  b.BeginPage().Bezier({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}});
  Draw(b);
  EXPECT_EQ(dev.LinesStartingWith("PolyBezier"),
            std::vector<std::string>{"PolyBezier 5 (0,0) (1,1) (2,2) (3,3) (4,4)"});
}

TEST_F(VectorRecordsTest, PenTouchMakesThePenOnlyWhenInvalid) {
  KpzBuilder b;
  b.BeginPage().PenTouch().PenTouch().LineWidth(3).PenTouch();
  Draw(b);
  const auto pens = dev.LinesStartingWith("ExtCreatePen");
  ASSERT_EQ(pens.size(), 2u);
  EXPECT_EQ(pens[1].rfind("ExtCreatePen style=0x11000 width=3 ", 0), 0u);
  EXPECT_EQ(dev.Count("Poly"), 0u);
}

TEST_F(VectorRecordsTest, PolylineCreatesPenBeforeDrawing) {
  KpzBuilder b;
  b.BeginPage().ShortPolyline({{-1, -2}, {3, 4}});
  Draw(b);
  const auto& lines = dev.lines();
  const auto pen = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.rfind("ExtCreatePen", 0) == 0;
  });
  const auto line = std::find(lines.begin(), lines.end(), "Polyline 2 (-1,-2) (3,4)");
  ASSERT_NE(pen, lines.end());
  ASSERT_NE(line, lines.end());
  EXPECT_LT(pen, line);
}

TEST_F(VectorRecordsTest, NothingDrawnWhenTheRecordIsCutShort) {
  KpzBuilder b;
  b.BeginPage().Polyline({{1, 1}, {2, 2}}, 1000000);
  Draw(b);
  EXPECT_EQ(dev.Count("Polyline"), 0u);
  EXPECT_EQ(dev.Count("ExtCreatePen"), 0u);
}

}  // namespace
}  // namespace quillon::test
