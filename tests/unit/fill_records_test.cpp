#include "render/fill_records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/interpreter_fixture.h"

namespace quillon::test {
namespace {

class FillRecordsTest : public InterpreterTest {
 protected:
  void Draw(KpzBuilder& b) {
    b.EndPage();
    Open(b);
    DrawScreen();
  }
  // Trace lines from the first one starting with `from`.
  std::vector<std::string> From(const std::string& from) const {
    std::vector<std::string> out;
    bool on = false;
    for (const auto& line : dev.lines()) {
      on = on || line.rfind(from, 0) == 0;
      if (on) out.push_back(line);
    }
    return out;
  }
};

const std::vector<std::vector<DevicePoint>> kSquareWithHole = {
    {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}},
    {{25, 25}, {75, 25}, {75, 75}, {25, 75}, {25, 25}}};

TEST_F(FillRecordsTest, FilledAndOutlinedSetMakesBrushThenPenAndDrawsAllRings) {
  KpzBuilder b;
  b.BeginPage().FillColour(1, KpzBuilder::Rgb(255, 0, 0)).PolygonSet(3, kSquareWithHole);
  Draw(b);
  const auto lines = From("CreateSolidBrush");
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "CreateSolidBrush colour=0x0000FF -> brush#1");
  EXPECT_EQ(lines[1], "SetROP2 13");  // mode 1: R2_COPYPEN
  EXPECT_EQ(lines[2].rfind("SelectObject brush#1", 0), 0u);
  EXPECT_EQ(dev.Count("ExtCreatePen"), 1u);  // the outline pen, after the brush
  EXPECT_EQ(dev.LinesStartingWith("PolyPolygon"),
            std::vector<std::string>{
                "PolyPolygon counts=[5,5] (0,0) (100,0) (100,100) (0,100) (0,0) (25,25) (75,25) "
                "(75,75) (25,75) (25,25)"});
  EXPECT_EQ(dev.Count("GetStockObject"), 0u);  // nothing replaced by a stock object
  // The outline pen invalidated the brush again.
  EXPECT_FALSE(st->fill.valid);
  EXPECT_TRUE(st->outline.valid);
}

TEST_F(FillRecordsTest, UnfilledSetDrawsOutlineWithNullBrushAndRestoresIt) {
  KpzBuilder b;
  b.BeginPage().PolygonSet(1, kSquareWithHole);
  Draw(b);
  EXPECT_EQ(dev.Count("CreateSolidBrush"), 0u);
  const auto lines = From("GetStockObject 5");
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[1], "SelectObject stock#5 -> stock#0");
  EXPECT_EQ(dev.selectedBrush(), dev.GetStockObject(gdi::kStockWhiteBrush));
  const auto poly = dev.LinesStartingWith("PolyPolygon");
  ASSERT_EQ(poly.size(), 1u);
  // At the PolyPolygon the null brush was selected; afterwards the old brush came back.
  const auto after = From("PolyPolygon");
  ASSERT_GE(after.size(), 2u);
  EXPECT_EQ(after[1], "SelectObject stock#0 -> stock#5");
}

TEST_F(FillRecordsTest, FilledSetWithoutOutlineUsesNullPenAndRestoresIt) {
  KpzBuilder b;
  b.BeginPage().ShortPolygonSet(2, {{{0, 0}, {10, 0}, {10, 10}}});
  Draw(b);
  EXPECT_EQ(dev.Count("ExtCreatePen"), 0u);
  const auto after = From("PolyPolygon");
  ASSERT_EQ(after.size(), 2u);  // then the pen comes back
  EXPECT_EQ(after[1], "SelectObject stock#7 -> stock#8");
  EXPECT_EQ(dev.selectedPen(), dev.GetStockObject(gdi::kStockBlackPen));
}

TEST_F(FillRecordsTest, ValidBrushIsReusedByTheNextFilledRecord) {
  KpzBuilder b;
  b.BeginPage().PolygonSet(2, {{{0, 0}, {1, 0}, {1, 1}}}).PolygonSet(2, {{{0, 0}, {2, 0}, {2, 2}}});
  Draw(b);
  EXPECT_EQ(dev.Count("CreateSolidBrush"), 1u);
  EXPECT_EQ(dev.Count("PolyPolygon"), 2u);
}

TEST_F(FillRecordsTest, RectanglesTurnWithTheViewAndUseTheSelectedPen) {
  KpzBuilder b;
  b.PageSize(1.0, 0.8, 1000);
  b.BeginPage().FillStyle(5).Rectangles({{10, 20, 30, 40}, {0, 0, 5, 5}});
  Open((b.EndPage(), b));
  st->rotation = 90;
  DrawScreen();
  EXPECT_EQ(dev.LinesStartingWith("CreateHatchBrush"),
            std::vector<std::string>{"CreateHatchBrush hatch=4 colour=0x000000 -> brush#1"});
  EXPECT_EQ(dev.LinesStartingWith("Rectangle"),
            (std::vector<std::string>{"Rectangle 780 10 760 30", "Rectangle 800 0 795 5"}));
  EXPECT_EQ(dev.Count("ExtCreatePen") + dev.Count("CreatePen"), 0u);
}

TEST_F(FillRecordsTest, SheetBackgroundFillsTheTurnedSheetWithoutOutline) {
  KpzBuilder b;
  b.PageSize(1.0, 0.5, 1000);
  b.BeginPage().SheetBackground(1000, 0.2, 0.1, 0x00102030);
  Open((b.EndPage(), b));
  st->rotation = 90;
  DrawScreen();
  EXPECT_EQ(dev.LinesStartingWith("CreateSolidBrush"),
            std::vector<std::string>{"CreateSolidBrush colour=0x302010 -> brush#1"});
  const auto lines = From("GetStockObject 8");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2], "PolyPolygon counts=[5] (500,0) (400,0) (400,200) (500,200) (500,0)");
  EXPECT_EQ(lines[3], "SelectObject stock#7 -> stock#8");
  EXPECT_EQ(st->resolution, 1000);
  EXPECT_TRUE(st->fill.valid);
}

// The sheet's resolution is a double in the file and stays one: the page size, the values
// scripts read and true-size prints keep its fraction.
TEST_F(FillRecordsTest, SheetBackgroundResolutionKeepsItsFraction) {
  const struct {
    double given, kept;
  } cases[] = {{11811.5, 11811.5}, {70000.25, 70000.25}, {0.75, 0.75}, {-3, 0}};
  for (const auto& c : cases) {
    KpzBuilder b;
    b.PageSize(0.5, 0.25, 1000);
    b.BeginPage().SheetBackground(c.given, 0.5, 0.25, 0);
    Open((b.EndPage(), b));
    DrawScreen();
    EXPECT_EQ(st->resolution, c.kept) << c.given;
    const auto page = ctx.pageMeasure();
    ASSERT_TRUE(page);
    EXPECT_DOUBLE_EQ(page->resolution, c.kept) << c.given;
    EXPECT_DOUBLE_EQ(page->width, doc->header.pageWidth * c.kept) << c.given;
    EXPECT_DOUBLE_EQ(page->height, doc->header.pageHeight * c.kept) << c.given;
  }
}

TEST_F(FillRecordsTest, SetWhosePointsAreMissingEndsThePage) {
  KpzBuilder b;
  b.BeginPage().Polyline({{1, 1}});
  b.Raw({7, 0, 0, 0, 0, 2, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x0F});  // one ring of 2^28 - 1 points
  b.Polyline({{2, 2}});
  Draw(b);
  EXPECT_EQ(dev.LinesStartingWith("Polyline"), std::vector<std::string>{"Polyline 1 (1,1)"});
  EXPECT_EQ(dev.Count("PolyPolygon"), 0u);
}

TEST_F(FillRecordsTest, ZeroRingsAndEmptyRingsAreReadAndTheWalkGoesOn) {
  KpzBuilder b;
  b.BeginPage().PolygonSet(2, {}).PolygonSet(2, {{}, {{1, 1}}}).Polyline({{3, 3}});
  Draw(b);
  EXPECT_EQ(dev.Count("PolyPolygon counts=[]"), 1u);
  EXPECT_EQ(dev.Count("PolyPolygon counts=[0,1] (1,1)"), 1u);
  EXPECT_EQ(dev.Count("Polyline 1 (3,3)"), 1u);
}

}  // namespace
}  // namespace quillon::test
