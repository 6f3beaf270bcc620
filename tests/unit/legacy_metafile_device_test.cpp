// Drawing for old-format Windows metafiles: lines and areas cut to a box, curves as chords,
// patterns as their average colour, and the device that hands a metafile only what it holds.

#include "render/legacy_metafile_device.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "render/bezier_flatten.h"
#include "render/dib_average_colour.h"
#include "tests/unit/interpreter_fixture.h"

namespace quillon::test {
namespace {

const BoxD kBox{0, 0, 100, 50};

TEST(RectClip, SegmentsKeepOnlyTheirPartInsideTheBox) {
  struct Case {
    PointD a, b;
    bool visible;
    PointD wantA, wantB;
  };
  const Case cases[] = {
      {{10, 10}, {20, 20}, true, {10, 10}, {20, 20}},           // inside
      {{-50, 25}, {150, 25}, true, {0, 25}, {100, 25}},         // through both sides
      {{50, -10}, {50, 60}, true, {50, 0}, {50, 50}},           // vertical, top to bottom
      {{-10, -10}, {110, 110}, true, {0, 0}, {50, 50}},         // through a corner
      {{-10, 60}, {110, 60}, false, {}, {}},                    // below
      {{150, 10}, {120, 40}, false, {}, {}},                    // right
      {{-10, 10}, {10, -10}, true, {0, 0}, {0, 0}},             // touches a corner only
      {{30, 30}, {30, 30}, true, {30, 30}, {30, 30}},           // a point inside
  };
  for (const Case& c : cases) {
    PointD a = c.a, b = c.b;
    ASSERT_EQ(ClipSegment(a, b, kBox), c.visible) << c.a.x << "," << c.a.y;
    if (!c.visible) continue;
    EXPECT_NEAR(a.x, c.wantA.x, 1e-9);
    EXPECT_NEAR(a.y, c.wantA.y, 1e-9);
    EXPECT_NEAR(b.x, c.wantB.x, 1e-9);
    EXPECT_NEAR(b.y, c.wantB.y, 1e-9);
  }
}

TEST(RectClip, APolylineLeavingAndComingBackBecomesTwoRuns) {
  const std::vector<PointD> line = {{10, 10}, {20, 10}, {200, 10}, {200, 40}, {50, 40}, {40, 40}};
  const auto runs = ClipPolyline(line, kBox);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (std::vector<PointD>{{10, 10}, {20, 10}, {100, 10}}));
  EXPECT_EQ(runs[1], (std::vector<PointD>{{100, 40}, {50, 40}, {40, 40}}));
  EXPECT_TRUE(ClipPolyline(std::vector<PointD>{{300, 300}, {400, 300}}, kBox).empty());
}

double Area(const std::vector<PointD>& ring) {
  double twice = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const PointD& a = ring[i];
    const PointD& b = ring[(i + 1) % ring.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return std::fabs(twice) / 2;
}

TEST(RectClip, APolygonKeepsTheAreaInsideTheBox) {
  // A square from (50,25) to (150,125): its part inside the box is 50 x 25.
  const std::vector<PointD> square = {{50, 25}, {150, 25}, {150, 125}, {50, 125}};
  EXPECT_DOUBLE_EQ(Area(ClipPolygon(square, kBox)), 50.0 * 25.0);
  const std::vector<PointD> around = {{-10, -10}, {110, -10}, {110, 60}, {-10, 60}};
  EXPECT_DOUBLE_EQ(Area(ClipPolygon(around, kBox)), 100.0 * 50.0);
  EXPECT_TRUE(ClipPolygon(std::vector<PointD>{{200, 0}, {300, 0}, {300, 50}}, kBox).empty());
}

TEST(BezierFlatten, ChordsStayWithinTheToleranceAndEndsAreExact) {
  const std::vector<PointD> chain = {{0, 0}, {0, 100}, {100, 100}, {100, 0},
                                     {100, -50}, {300, -50}, {300, 0}};
  for (const double tolerance : {0.5, 2.0}) {
    const auto line = FlattenBezierChain(chain, tolerance);
    ASSERT_GE(line.size(), 3u);
    EXPECT_EQ(line.front(), chain.front());
    EXPECT_EQ(line.back(), chain.back());
    EXPECT_NE(std::find(line.begin(), line.end(), chain[3]), line.end()) << "curves meet";
    // Every point of the first curve lies within tolerance of some chord.
    for (int k = 0; k <= 100; ++k) {
      const double t = k / 100.0, u = 1 - t;
      const PointD p{3 * u * t * t * 100 + t * t * t * 100,
                     3 * u * u * t * 100 + 3 * u * t * t * 100};
      double best = 1e9;
      for (std::size_t i = 1; i < line.size(); ++i) {
        PointD a = line[i - 1], b = line[i];
        const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
        const double s = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
        best = std::min(best, std::hypot(a.x + s * dx - p.x, a.y + s * dy - p.y));
      }
      EXPECT_LE(best, tolerance * 1.01) << "t=" << t;
    }
  }
  // A straight curve needs one chord; a chain short of a whole curve draws nothing.
  EXPECT_EQ(FlattenBezierChain(std::vector<PointD>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}, 0.5).size(), 2u);
  EXPECT_TRUE(FlattenBezierChain(std::vector<PointD>{{0, 0}, {1, 1}, {2, 2}}, 0.5).empty());
}

// A packed DIB: 40-byte header, colour table, rows padded to four bytes.
std::vector<std::uint8_t> Dib(int width, int height, int bits, std::vector<std::uint32_t> table,
                              std::vector<std::uint8_t> rows) {
  std::vector<std::uint8_t> d(40);
  const auto put = [&](std::size_t at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) d[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put(0, 40, 4), put(4, width, 4), put(8, height, 4), put(12, 1, 2), put(14, bits, 2);
  put(32, static_cast<std::uint32_t>(table.size()), 4);
  for (const std::uint32_t bgr : table) d.insert(d.end(), {std::uint8_t(bgr), std::uint8_t(bgr >> 8), std::uint8_t(bgr >> 16), 0});
  d.insert(d.end(), rows.begin(), rows.end());
  return d;
}

TEST(DibAverageColour, MixesThePixelsColours) {
  // 2x2 checker of black and white (BGR), one bit per pixel.
  const auto checker = Dib(2, 2, 1, {0x000000, 0xFFFFFF}, {0x40, 0, 0, 0, 0x80, 0, 0, 0});
  DibView view{{checker.data(), 48}, {checker.data() + 48, 8}};
  EXPECT_EQ(AverageDibColour(view), 0x808080u);  // rounded half
  // 24 bits: one red and one blue pixel (bytes blue, green, red).
  const auto rgb = Dib(2, 1, 24, {}, {0, 0, 255, 255, 0, 0, 0, 0});
  EXPECT_EQ(AverageDibColour({{rgb.data(), 40}, {rgb.data() + 40, 8}}), 0x800080u);
  // Bits shorter than the header says: no colour rather than a read past them.
  EXPECT_FALSE(AverageDibColour({{checker.data(), 48}, {checker.data() + 48, 7}}));
  EXPECT_FALSE(AverageDibColour({{checker.data(), 44}, {checker.data() + 48, 8}}));
}

// The interpreter drawing through the device into a trace of what a metafile would get.
class LegacyMetafileDeviceTest : public InterpreterTest {
 protected:
  void DrawThrough(const DeviceRect& area) {
    LegacyMetafileDevice metafile(dev, area);
    ctx.DrawDocument(&metafile, 0, area.right - area.left, area.bottom - area.top, area.left,
                     area.top, "plot.kpz", 0);
  }
  // Every coordinate the trace's drawing lines carry.
  std::vector<long> Coordinates() const {
    std::vector<long> all;
    const std::regex number(R"(\((-?\d+),(-?\d+)\))");
    for (const auto& line : dev.lines())
      for (std::sregex_iterator it(line.begin(), line.end(), number), end; it != end; ++it) {
        all.push_back(std::stol((*it)[1]));
        all.push_back(std::stol((*it)[2]));
      }
    return all;
  }
};

TEST_F(LegacyMetafileDeviceTest, RecordsOnlyWhatTheFormatHolds) {
  KpzBuilder b;
  b.PatternTableDeclaration(1).BeginPage().LineWidth(3).LineStyle(2);
  b.Polyline({{10, 10}, {900, 10}, {900, 900}});
  b.Bezier({{0, 0}, {0, 500}, {500, 500}, {500, 0}});
  KpzPattern stripes;
  stripes.id = 7, stripes.width = 10, stripes.rows = 20, stripes.bytesPerRow = 4;
  stripes.colours = {0, 0xFFFFFF};
  stripes.pixels.assign(80, 0xAA);
  b.PatternDefinition(stripes).FillStyle(7).PolygonSet(2, {{{10, 10}, {250, 10}, {10, 450}}});
  b.EndPage();
  Open(b);
  DrawThrough({20, 30, 420, 330});
  for (const char* absent : {"SetMapMode", "SetWindowExt", "SetViewportExt", "SetViewportOrg",
                             "SetGraphicsMode", "SetMiterLimit", "PolyBezier", "ExtCreatePen",
                             "CreateDibPatternBrush", "BeginPath", "SelectClipPath",
                             "QueryEscapeSupport"})
    EXPECT_EQ(dev.Count(absent), 0u) << absent;
  EXPECT_GE(dev.Count("Polyline"), 2u) << "the line and the curve's chords";
  EXPECT_GE(dev.Count("PolyPolygon"), 1u);
  EXPECT_GE(dev.Count("CreateSolidBrush"), 1u) << "the pattern's stand-in";
  // The page (about 1000 dots square) fitted into 400 x 300 at (20, 30).
  for (std::size_t i = 0; i < Coordinates().size(); i += 2) {
    EXPECT_GE(Coordinates()[i], 20);
    EXPECT_LE(Coordinates()[i], 420);
    EXPECT_GE(Coordinates()[i + 1], 30);
    EXPECT_LE(Coordinates()[i + 1], 330);
  }
}

TEST_F(LegacyMetafileDeviceTest, MapsAsGdiWouldAndCutsWhatIsFarOutside) {
  LegacyMetafileDevice m(dev, {0, 0, 400, 300});
  m.SetMapMode(gdi::kMapIsotropic);
  m.SetWindowExt(1000, 1000);
  m.SetViewportExt(800, 300);  // isotropic: the smaller scale, 0.3, on both axes
  m.SetViewportOrg(10, 20);
  const DevicePoint line[] = {{0, 0}, {1000, 1000}, {1000000, 1000}};
  m.Polyline(line);
  EXPECT_EQ(dev.LinesStartingWith("Polyline"),
            std::vector<std::string>{"Polyline 3 (10,20) (310,320) (600,320)"});
  DeviceRect box{};
  m.GetClipBox(box);
  EXPECT_EQ(box.left, -34);  // (0 - 10) / 0.3, floored
  EXPECT_EQ(box.right, 1300);
  EXPECT_FALSE(m.RectVisible({2000, 0, 3000, 100}));
  DeviceRect visible{};
  ASSERT_TRUE(m.GetVisibleBox(visible));
  EXPECT_EQ(visible.right, box.right);
}

TEST_F(LegacyMetafileDeviceTest, RestoresByRelativeDepthWithItsOwnMapping) {
  LegacyMetafileDevice m(dev, {0, 0, 100, 100});
  const int outer = m.SaveDC();
  m.SetMapMode(gdi::kMapIsotropic);
  m.SetWindowExt(10, 10);
  m.SetViewportExt(20, 20);
  m.SaveDC();
  ASSERT_TRUE(m.RestoreDC(outer));
  EXPECT_EQ(dev.LinesStartingWith("RestoreDC"), std::vector<std::string>{"RestoreDC -2"});
  m.MoveTo(5, 5);
  m.LineTo(10, 10);  // unmapped again
  EXPECT_EQ(dev.LinesStartingWith("LineTo"), std::vector<std::string>{"LineTo 10 10"});
  EXPECT_FALSE(m.RestoreDC(1));
}

TEST_F(LegacyMetafileDeviceTest, ABitmapReachingFarOutsideIsCutWithItsSource) {
  LegacyMetafileDevice m(dev, {0, 0, 100, 100});
  const auto image = Dib(1000, 10, 24, {}, std::vector<std::uint8_t>(1000 * 3 * 10));
  const DibView view{{image.data(), 40}, {image.data() + 40, image.size() - 40}};
  // 1000 source columns stretched to 100000 units: only the first ~150 can be near the area.
  m.StretchDIBits(0, 0, 100000, 100, 0, 0, 1000, 10, view, gdi::kRopSrcCopy);
  const auto calls = dev.LinesStartingWith("StretchDIBits");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].substr(0, calls[0].find(" info")), "StretchDIBits dest=0,0,200,100 src=0,0,2,10");
}

}  // namespace
}  // namespace quillon::test
