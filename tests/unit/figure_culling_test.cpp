#include "render/figure_culling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <string>
#include <utility>
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
      {"right, a reach of 1.5 dots counts as 2", 0.25, {{108, 10}, {130, 10}}, true},
      {"right, one dot beyond a reach of 1.5", 0.25, {{109, 10}, {130, 10}}, false},
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

// Every kind of figure reaching two thousand million dots away still shows its near part,
// and nothing handed to the device lies beyond the guard box (-7109..7209 on both axes).
TEST_F(FigureCullingTest, FarFiguresReachTheDeviceOnlyWithinTheGuardBox) {
  constexpr int kFar = 2000000000;
  const std::vector<DevicePoint> far{{50, 50}, {kFar, 60}, {60, kFar}, {60, 60}};
  KpzShape farShape;
  farShape.parts.push_back({});
  farShape.parts[0].type = 4;
  farShape.parts[0].points = far;
  KpzShape farCurve = farShape;
  farCurve.parts[0].type = 6;
  struct Case {
    const char* name;
    void (*add)(KpzBuilder&, const std::vector<DevicePoint>&, const KpzShape&, const KpzShape&);
    const char* call;  // what reaches the device instead
  };
  const Case cases[] = {
      {"Bezier chain", [](KpzBuilder& b, auto& p, auto&, auto&) { b.Bezier(p); }, "Polyline"},
      {"Bezier part", [](KpzBuilder& b, auto&, auto&, auto& c) { b.CompoundShape(0, {c}); },
       "Polyline"},
      {"open shape", [](KpzBuilder& b, auto&, auto& s, auto&) { b.CompoundShape(0, {s}); },
       "Polyline"},
      {"filled shape", [](KpzBuilder& b, auto&, auto& s, auto&) { b.CompoundShape(2, {s}); },
       "Polygon "},
      {"polygon set", [](KpzBuilder& b, auto& p, auto&, auto&) { b.PolygonSet(3, {p, p}); },
       "PolyPolygon"},
  };
  const std::regex point(R"(\((-?\d+),(-?\d+)\))");
  for (const Case& c : cases) {
    KpzBuilder b = Page();
    b.LineWidth(1);
    c.add(b, far, farShape, farCurve);
    dev.Clear();
    Draw(b);
    const auto lines = dev.LinesStartingWith(c.call);
    ASSERT_FALSE(lines.empty()) << c.name;
    EXPECT_EQ(dev.Count("PolyBezier"), 0u) << c.name;
    bool nearPoint = false;
    for (const std::string& line : lines) {
      for (std::sregex_iterator it(line.begin(), line.end(), point), end; it != end; ++it) {
        const long x = std::stol((*it)[1]), y = std::stol((*it)[2]);
        EXPECT_TRUE(x >= -7109 && x <= 7209 && y >= -7109 && y <= 7209) << c.name << ": " << line;
        nearPoint = nearPoint || (x >= 0 && x <= 100 && y >= 0 && y <= 100);
      }
    }
    EXPECT_TRUE(nearPoint) << c.name;
  }
}

// Flattened, a far curve keeps its shape where it shows: every point drawn inside the view
// lies within a dot of the exact cubic.
TEST_F(FigureCullingTest, AFarBezierKeepsItsShapeInTheView) {
  const std::vector<DevicePoint> control{{0, 50}, {300000000, 50}, {-300000000, 60}, {100, 60}};
  KpzBuilder b = Page();
  b.LineWidth(1).Bezier(control);
  dev.Clear();
  Draw(b);
  auto at = [&](double t) {
    const double u = 1 - t;
    const double w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
    double x = 0, y = 0;
    for (int i = 0; i < 4; ++i) x += w[i] * control[i].x, y += w[i] * control[i].y;
    return std::pair{x, y};
  };
  // The curve's points in the view: t near 0 and near 1 (it swings far out in between).
  std::vector<std::pair<double, double>> curve;
  for (double t = 0; t <= 1; t += 1.0 / (1 << 22))
    if (const auto p = at(t); std::abs(p.first) < 200 && std::abs(p.second) < 200) curve.push_back(p);
  const std::regex point(R"(\((-?\d+),(-?\d+)\))");
  int inView = 0;
  for (const std::string& line : dev.LinesStartingWith("Polyline")) {
    for (std::sregex_iterator it(line.begin(), line.end(), point), end; it != end; ++it) {
      const double x = std::stod((*it)[1]), y = std::stod((*it)[2]);
      if (x < 0 || x > 100 || y < 0 || y > 100) continue;
      ++inView;
      double nearest = 1e18;
      for (const auto& [cx, cy] : curve) nearest = std::min(nearest, std::hypot(x - cx, y - cy));
      EXPECT_LE(nearest, 1.0) << "(" << x << "," << y << ")";
    }
  }
  EXPECT_GE(inView, 2);
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

// A printer shows its page: figures off it are not spooled, and the slack is four printer
// pixels (here 2 dots each: a 100-dot box over 50 pixels), so the page reaches to 109 and a
// hairline's box one dot further.
TEST_F(FigureCullingTest, APrintSkipsFiguresOffThePage) {
  KpzBuilder b = Page();
  b.LineWidth(0).Polyline({{10, 10}, {20, 20}}).Polyline({{500, 500}, {600, 600}});
  b.Polyline({{110, 10}, {120, 10}}).Polyline({{111, 10}, {120, 10}});
  b.EndPage();
  Open(b);
  dev.SetDeviceCaps(gdi::kCapHorzRes, 50);
  dev.SetDeviceCaps(gdi::kCapVertRes, 50);
  dev.SetVisibleBox({0, 0, 100, 100});
  DrawPrint();
  EXPECT_EQ(dev.LinesStartingWith("Polyline"),
            (std::vector<std::string>{"Polyline 2 (10,10) (20,20)", "Polyline 2 (110,10) (120,10)"}));
  EXPECT_EQ(dev.Count("EndPage"), 1u);
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
