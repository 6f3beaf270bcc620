#include "render/figure_culling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/interpreter_fixture.h"

namespace quillon::test {
namespace {

// A 1000 x 1000-dot page fitted into 1000 x 1000 pixels: one dot per pixel, so the visible
// area is the device's box widened by 5 dots (4 pixels and one of rounding) and a figure's
// box by six pen widths and one dot.
class FigureCullingTest : public InterpreterTest {
 protected:
  void Draw(KpzBuilder& b, bool windows9x = false) {
    b.EndPage();
    Open(b);
    if (windows9x) ctx.SetPlatformFlavour(PlatformFlavour::Windows9x);
    dev.SetVisibleBox({0, 0, 100, 100});
    DrawScreen();
  }
  static KpzBuilder Page() {
    KpzBuilder b;
    b.PageSize(1.0, 1.0, 1000);
    b.BeginPage();
    return b;
  }
  std::size_t Drawn() const {
    return dev.Count("Polyline") + dev.Count("PolyBezier") + dev.Count("Polygon") +
           dev.Count("PolyPolygon");
  }
};

TEST_F(FigureCullingTest, PolylineIsSkippedOnlyWhenItsWidenedBoxMissesTheVisibleArea) {
  struct Case {
    const char* name;
    double width;
    std::vector<DevicePoint> points;
    bool drawn;
  };
  const Case cases[] = {
      {"inside", 1, {{10, 10}, {20, 20}}, true},
      {"crossing the box", 1, {{-500, 50}, {500, 50}}, true},
      {"box around the view, no vertex inside", 1, {{-50, -50}, {150, 150}}, true},
      {"right, just within pen reach", 2, {{118, 10}, {130, 10}}, true},
      {"right, one dot beyond pen reach", 2, {{119, 10}, {130, 10}}, false},
      {"left, beyond", 0, {{-300, 10}, {-7, 90}}, false},
      {"left, within slack", 0, {{-300, 10}, {-6, 90}}, true},
      {"above", 1, {{10, -400}, {90, -20}}, false},
      {"below", 1, {{10, 120}, {90, 400}}, false},
      {"wide pen reaching in from below", 20, {{10, 200}, {90, 400}}, true},
      {"diagonal corner only", 1, {{200, 200}, {300, 300}}, false},
  };
  for (const Case& c : cases) {
    KpzBuilder b = Page();
    b.LineWidth(c.width).Polyline(c.points);
    dev.Clear();
    Draw(b);
    EXPECT_EQ(dev.Count("Polyline"), c.drawn ? 1u : 0u) << c.name;
    // The pen is made either way: later figures must see the same selections.
    EXPECT_EQ(dev.Count("ExtCreatePen"), 1u) << c.name;
  }
}

// The visible box is 100 dots (plus slack) wide: a point more than 64 of its sizes away is cut
// off where the line crosses the guard box, exactly on the line.
TEST_F(FigureCullingTest, APolylineReachingFarAwayIsCutOnItsOwnLine) {
  KpzBuilder b = Page();
  b.LineWidth(1).Polyline({{50, 50}, {2000000000, 50}, {50, 60}, {60, 60}});
  b.Polyline({{10, 10}, {5000, 5000}});  // within the guard: as it is
  dev.Clear();
  Draw(b);
  const auto lines = dev.LinesStartingWith("Polyline");
  ASSERT_EQ(lines.size(), 3u);
  // The guard's right edge: 105 + 64 * 111 = 7209 (the visible box is -5..105 after slack).
  EXPECT_EQ(lines[0], "Polyline 2 (50,50) (7209,50)");
  EXPECT_EQ(lines[1], "Polyline 3 (7209,60) (50,60) (60,60)");
  EXPECT_EQ(lines[2], "Polyline 2 (10,10) (5000,5000)");
}

TEST_F(FigureCullingTest, EveryFigureKindIsSkippedOutsideAndDrawnInside) {
  const std::vector<DevicePoint> in{{10, 10}, {20, 10}, {20, 20}, {10, 10}};
  const std::vector<DevicePoint> out{{510, 510}, {520, 510}, {520, 520}, {510, 510}};
  KpzShape bezierShape;
  bezierShape.parts.push_back({});
  bezierShape.parts[0].type = 6;
  bezierShape.parts[0].points = out;
  KpzShape polyShape;
  polyShape.parts.push_back({});
  polyShape.parts[0].type = 4;
  polyShape.parts[0].points = out;
  KpzBuilder b = Page();
  b.Bezier(out).Bezier(in).Polyline(out).ShortPolyline(in);
  b.CompoundShape(0, {bezierShape, polyShape}).CompoundShape(2, {polyShape});
  b.PolygonSet(3, {out}).ShortPolygonSet(3, {in});
  Draw(b);
  EXPECT_EQ(dev.Count("PolyBezier"), 1u);
  EXPECT_EQ(dev.Count("Polyline"), 1u);
  EXPECT_EQ(dev.Count("Polygon "), 0u);
  EXPECT_EQ(dev.Count("PolyPolygon"), 1u);
  EXPECT_EQ(dev.LinesStartingWith("Polyline"),
            std::vector<std::string>{"Polyline 4 (10,10) (20,10) (20,20) (10,10)"});
}

TEST_F(FigureCullingTest, SkippedFiguresLeaveTheSameObjectsAsDrawnOnes) {
  // The same plot drawn with a visible box that shows nothing and without one: everything
  // but the drawing calls must be the same.
  auto build = [] {
    KpzBuilder b = Page();
    b.LineColour(KpzBuilder::Rgb(200, 0, 0)).Polyline({{500, 500}, {600, 600}});
    b.FillColour(1, KpzBuilder::Rgb(0, 0, 200))
        .PolygonSet(3, {{{500, 500}, {600, 500}, {600, 600}}});
    b.LineWidth(3).Polyline({{700, 700}, {800, 800}});
    return b;
  };
  KpzBuilder culled = build();
  Draw(culled);
  std::vector<std::string> withCulling;
  for (const auto& line : dev.lines())
    if (line.rfind("Poly", 0) != 0 && line.rfind("GetVisibleBox", 0) != 0)
      withCulling.push_back(line);
  EXPECT_EQ(Drawn(), 0u);

  FakeDocumentPlatform otherPlatform;
  DrawContext other{otherPlatform, 0, 0};
  TraceDevice plain;
  KpzBuilder again = build();
  again.EndPage();
  otherPlatform.AddFile("plot.kpz", again.Build());
  ASSERT_EQ(other.OpenDocument("plot.kpz", 800, 600), 0);
  other.DrawDocument(&plain, 0, 1000, 1000, 0, 0, "plot.kpz", 0);
  std::vector<std::string> without;
  for (const auto& line : plain.lines())
    if (line.rfind("Poly", 0) != 0) without.push_back(line);
  EXPECT_EQ(plain.Count("Poly"), 3u);
  EXPECT_EQ(withCulling, without);
}

TEST_F(FigureCullingTest, NothingIsSkippedOnWindows9xOrWithoutAVisibleBox) {
  KpzBuilder b = Page();
  b.LineStyle(1).Polyline({{500, 500}, {600, 600}}).Polyline({{700, 500}, {800, 600}});
  Draw(b, true);
  // The stepped dashes carry on from line to line, so every line is walked.
  EXPECT_GT(dev.Count("LineTo"), 1u);
  EXPECT_EQ(dev.Count("LineTo 800 600"), 1u);

  FakeDocumentPlatform otherPlatform;
  DrawContext other{otherPlatform, 0, 0};
  TraceDevice plain;
  KpzBuilder again = Page();
  again.Polyline({{500, 500}, {600, 600}}).EndPage();
  otherPlatform.AddFile("plot.kpz", again.Build());
  ASSERT_EQ(other.OpenDocument("plot.kpz", 800, 600), 0);
  other.DrawDocument(&plain, 0, 1000, 1000, 0, 0, "plot.kpz", 0);
  EXPECT_EQ(plain.Count("Polyline"), 1u);
}

TEST_F(FigureCullingTest, RecordHandlersCalledAfterADrawSkipNothing) {
  KpzBuilder b = Page();
  b.Polyline({{500, 500}, {600, 600}});
  Draw(b);
  EXPECT_EQ(dev.Count("Polyline"), 0u);
  EXPECT_FALSE(st->visible.known);
}

}  // namespace
}  // namespace quillon::test
