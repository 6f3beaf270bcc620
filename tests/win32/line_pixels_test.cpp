// Lines drawn by the interpreter through GdiDevice on a real memory DC: caps, dashes, curves,
// filled shapes and the view mapping, as a person would see them.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/win32/memory_dc.h"
#include "document/win32/win32_document_platform.h"
#include "interact/view_state.h"
#include "render/draw_context.h"
#include "render/win32/gdi_device.h"
#include "tests/support/kpz_builder.h"
#include "tests/win32/support/pixel_stats.h"
#include "tests/win32/temp_folder.h"

namespace quillon {
namespace {

using test::CountPixels;
using test::Is;
using test::PixelRun;
using test::Runs;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// A page of 300 x 200 dots: not square, so that a wrong turn shows.
constexpr int kPageW = 300;
constexpr int kPageH = 200;

KpzBuilder Page() {
  KpzBuilder b;
  b.PageSize(0.3, 0.2, 1000);
  return b;
}

std::string Describe(const std::vector<PixelRun>& runs) {
  std::string text;
  for (const PixelRun& r : runs)
    text += std::to_string(r.start) + "+" + std::to_string(r.length) + " ";
  return text;
}

struct View {
  double zoom = 1;  // 0: fit the turned page into the surface, as the control's Fit does
  int rotation = 0;
  double originX = 0, originY = 0;
  PlatformFlavour flavour = PlatformFlavour::WindowsNt;
  int areaWidth = 320, areaHeight = 320;  // the drawing area a fit fills
};

class LinePixelsTest : public ::testing::Test {
 protected:
  void Draw(const KpzBuilder& builder, const View& v = {}) {
    view = v;
    surface.Fill(kWhite);
    const std::string file = folder.Write("lines.kpz", builder.Build());
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(context.OpenDocument(file, surface.width(), surface.height()), 0);
    context.SetPlatformFlavour(v.flavour);
    ViewState state;
    state.Rot = v.rotation;
    SetExtentsToView(state, v.areaWidth, v.areaHeight);
    fittedZoom = context
                     .DrawScreen(device,
                                 {state.DrawExtentX, state.DrawExtentY, v.originX, v.originY,
                                  v.zoom, v.rotation},
                                 file)
                     .zoom;
    context.CloseDocument(&device);
  }

  // Where a document point lands on the surface for the last view.
  POINT At(double x, double y) const {
    double u = x, w = y;
    switch (view.rotation) {
      case 90:
        u = kPageH - y;
        w = x;
        break;
      case 180:
        u = kPageW - x;
        w = kPageH - y;
        break;
      case 270:
        u = y;
        w = kPageW - x;
        break;
      default:
        break;
    }
    const double s = view.zoom != 0 ? view.zoom : fittedZoom;
    return {static_cast<LONG>(view.originX + u * s), static_cast<LONG>(view.originY + w * s)};
  }
  COLORREF ColourAt(double x, double y) const {
    const POINT p = At(x, y);
    return surface.PixelColour(p.x, p.y);
  }

  test::TempFolder folder;
  Win32DocumentPlatform platform{[](const std::string&) {}};
  DrawContext context{platform, 0, 0};
  MemoryDc surface{320, 320};
  GdiDevice device{surface.dc()};
  View view;
  double fittedZoom = 0;
};

class TurnedLinePixelsTest : public LinePixelsTest, public ::testing::WithParamInterface<int> {};

// Three 20-dot lines from x 60 to 200: flat ends at y 40, square at y 100, round at y 160.
TEST_P(TurnedLinePixelsTest, ThickLineEndsFollowTheirCaps) {
  KpzBuilder b = Page();
  b.BeginPage().LineColour(KpzBuilder::Rgb(255, 0, 0)).LineWidth(20);
  b.LineCap(0).Polyline({{60, 40}, {200, 40}});
  b.LineCap(1).Polyline({{60, 100}, {200, 100}});
  b.LineCap(3).Polyline({{60, 160}, {200, 160}});
  b.EndPage();
  Draw(b, {.zoom = 1, .rotation = GetParam()});

  for (int y : {40, 100, 160}) {
    SCOPED_TRACE("line at y " + std::to_string(y));
    EXPECT_EQ(ColourAt(130, y), kRed);
    EXPECT_EQ(ColourAt(130, y - 8), kRed);  // 20 dots wide
    EXPECT_EQ(ColourAt(130, y + 8), kRed);
    EXPECT_EQ(ColourAt(130, y - 13), kWhite);
    EXPECT_EQ(ColourAt(130, y + 13), kWhite);
    EXPECT_EQ(ColourAt(63, y), kRed);
    EXPECT_EQ(ColourAt(197, y), kRed);
    EXPECT_EQ(ColourAt(46, y), kWhite);  // no cap reaches 14 dots past the end
    EXPECT_EQ(ColourAt(214, y), kWhite);
  }
  // Flat: the line stops at its end points.
  EXPECT_EQ(ColourAt(56, 40), kWhite);
  EXPECT_EQ(ColourAt(204, 40), kWhite);
  // Square: half the width beyond the ends, corners included.
  EXPECT_EQ(ColourAt(53, 100), kRed);
  EXPECT_EQ(ColourAt(53, 93), kRed);
  EXPECT_EQ(ColourAt(207, 107), kRed);
  // Round: half the width beyond the ends on the axis, but not at the corners.
  EXPECT_EQ(ColourAt(53, 160), kRed);
  EXPECT_EQ(ColourAt(207, 160), kRed);
  EXPECT_EQ(ColourAt(52, 152), kWhite);
  EXPECT_EQ(ColourAt(208, 168), kWhite);
  // Nothing strays elsewhere: the page's right third stays blank.
  const POINT a = At(230, 0), c = At(kPageW, kPageH);
  EXPECT_EQ(CountPixels(surface, Is(kRed), std::min(a.x, c.x), std::min(a.y, c.y),
                        std::max(a.x, c.x), std::max(a.y, c.y)),
            0);
}

// A cubic from (40, 150) over (40, 50) and (200, 50) to (200, 150) tops out at y 75.
TEST_P(TurnedLinePixelsTest, BezierBulgesTowardsItsControlPoints) {
  KpzBuilder b = Page();
  b.BeginPage()
      .LineColour(KpzBuilder::Rgb(0, 0, 255))
      .LineWidth(3)
      .Bezier({{40, 150}, {40, 50}, {200, 50}, {200, 150}})
      .EndPage();
  Draw(b, {.zoom = 1, .rotation = GetParam()});

  int nearTop = 0, below = 0, above = 0;
  for (int y = 0; y < kPageH; ++y) {
    const bool blue = ColourAt(120, y) == kBlue;
    if (y >= 71 && y <= 79) nearTop += blue;
    if (y > 85) below += blue;
    if (y < 68) above += blue;
  }
  EXPECT_GE(nearTop, 2);
  EXPECT_EQ(below, 0);
  EXPECT_EQ(above, 0);
  // Its ends are where the chain starts and stops.
  EXPECT_EQ(ColourAt(40, 148), kBlue);
  EXPECT_EQ(ColourAt(200, 148), kBlue);
  EXPECT_EQ(ColourAt(120, 150), kWhite);  // an open curve: no chord
}

INSTANTIATE_TEST_SUITE_P(Rotations, TurnedLinePixelsTest, ::testing::Values(0, 90, 180, 270),
                         [](const auto& info) { return "Rot" + std::to_string(info.param); });

// Runs of red along the page row y from x 0 to the page's right edge, unturned at zoom 1.
std::vector<PixelRun> RedRunsAlongRow(const MemoryDc& surface, int y) {
  return Runs(surface, Is(kRed), false, y, 0, kPageW);
}

TEST_F(LinePixelsTest, BuiltInDashStylesLeaveGapsOfTheirKind) {
  KpzBuilder b = Page();
  b.BeginPage().LineColour(KpzBuilder::Rgb(255, 0, 0)).LineCap(0);
  b.LineStyle(0).Polyline({{20, 20}, {280, 20}});
  b.LineStyle(1).Polyline({{20, 50}, {280, 50}});    // dash
  b.LineStyle(2).Polyline({{20, 80}, {280, 80}});    // dot
  b.LineStyle(3).Polyline({{20, 110}, {280, 110}});  // dash dot
  b.EndPage();
  Draw(b);

  const auto solid = RedRunsAlongRow(surface, 20);
  ASSERT_EQ(solid.size(), 1u) << Describe(solid);
  EXPECT_GE(solid[0].length, 259);

  const auto dashes = RedRunsAlongRow(surface, 50);
  const auto dots = RedRunsAlongRow(surface, 80);
  const auto dashDots = RedRunsAlongRow(surface, 110);
  SCOPED_TRACE("dash: " + Describe(dashes) + "\ndot: " + Describe(dots) +
               "\ndash dot: " + Describe(dashDots));
  ASSERT_GE(dashes.size(), 5u);
  ASSERT_GE(dots.size(), 5u);
  ASSERT_GE(dashDots.size(), 5u);
  // The gaps are there, and the line still spans its length.
  for (const auto* runs : {&dashes, &dots, &dashDots}) {
    EXPECT_LE(runs->front().start, 21);
    EXPECT_GE(runs->back().start + runs->back().length, 270);
    int red = 0;
    for (const PixelRun& r : *runs) red += r.length;
    EXPECT_LT(red, 240);  // gaps take a good part
    EXPECT_GT(red, 60);
  }
  // Dashes are longer than dots; a dash-dot line alternates long and short.
  EXPECT_GT(dashes[1].length, 2 * dots[1].length);
  const bool firstLonger = dashDots[1].length > dashDots[2].length;
  for (std::size_t i = 1; i + 2 < dashDots.size(); ++i)
    EXPECT_EQ(dashDots[i].length > dashDots[i + 1].length, (i % 2 == 1) == firstLonger) << i;
}

// Dash 20, gap 10, dash 5, gap 10 from x 20, at `scale` pixels per dash unit: dashes at 20,
// 50, 65, 95, 110, ... when the scale is 1. `ends` is how far a round-ended pen reaches past
// each dash end.
void ExpectUserDashes(const std::vector<PixelRun>& runs, double scale, double ends) {
  SCOPED_TRACE(Describe(runs));
  ASSERT_GE(runs.size(), 6u);
  const double period = 45 * scale;
  for (std::size_t i = 0; i < 6; ++i) {
    const bool longDash = i % 2 == 0;
    const double start = 20 + (i / 2) * period + (longDash ? 0 : 30 * scale);
    const double length = (longDash ? 20 : 5) * scale;
    EXPECT_NEAR(runs[i].start, start - ends, 1.5) << "dash " << i;
    EXPECT_NEAR(runs[i].length, length + 2 * ends, 1.5) << "dash " << i;
  }
}

// Wine keeps the dashes of a geometric user-style pen in device pixels whatever the mapping;
// Windows takes them in logical units.
bool RunningOnWine() {
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST_F(LinePixelsTest, UserStyleDrawsItsDashesWithEitherPen) {
  for (PlatformFlavour flavour : {PlatformFlavour::WindowsNt, PlatformFlavour::Windows9x}) {
    SCOPED_TRACE(flavour == PlatformFlavour::Windows9x ? "stepped dashes" : "dashed pen");
    KpzBuilder b = Page();
    const std::uint16_t style = b.AddLineStyle({20, 10, 5, 10});
    b.BeginPage()
        .LineColour(KpzBuilder::Rgb(255, 0, 0))
        .LineCap(0)
        .LineStyle(style)
        .Polyline({{20, 60}, {290, 60}})
        .EndPage();
    Draw(b, {.zoom = 1, .flavour = flavour});
    ExpectUserDashes(RedRunsAlongRow(surface, 60), 1, 0);
  }
}

TEST_F(LinePixelsTest, UserDashesFollowTheViewScale) {
  for (PlatformFlavour flavour : {PlatformFlavour::WindowsNt, PlatformFlavour::Windows9x}) {
    const bool stepped = flavour == PlatformFlavour::Windows9x;
    SCOPED_TRACE(stepped ? "stepped dashes" : "dashed pen");
    KpzBuilder b = Page();
    const std::uint16_t style = b.AddLineStyle({20, 10, 5, 10});
    b.BeginPage()
        .LineColour(KpzBuilder::Rgb(255, 0, 0))
        .LineCap(0)
        .LineStyle(style)
        .Polyline({{10, 60}, {150, 60}})
        .EndPage();
    Draw(b, {.zoom = 2, .flavour = flavour});
    const auto runs = Runs(surface, Is(kRed), false, 120, 0, surface.width());
    // The stepper walks in dots, so its dashes scale; its plain pen, two pixels wide here, has
    // round ends. The dashed pen starts its pattern at the line's start, 20 pixels in.
    if (stepped)
      ExpectUserDashes(runs, 2, 1);
    else
      ExpectUserDashes(runs, RunningOnWine() ? 1 : 2, 0);
  }
}

TEST_F(LinePixelsTest, FilledCompoundShapeIsFilled) {
  KpzBuilder b = Page();
  KpzShape shape;
  shape.closeFlag = 1;
  shape.parts = {{4, {{150, 40}, {260, 40}, {260, 160}}, {}}, {5, {{150, 160}}, {}}};
  b.BeginPage().FillColour(1, KpzBuilder::Rgb(0, 255, 0)).CompoundShape(2, {shape}).EndPage();
  Draw(b);
  EXPECT_EQ(ColourAt(205, 100), kGreen);
  EXPECT_EQ(ColourAt(153, 43), kGreen);
  EXPECT_EQ(ColourAt(257, 157), kGreen);
  EXPECT_EQ(ColourAt(145, 100), kWhite);
  EXPECT_EQ(ColourAt(265, 100), kWhite);
  EXPECT_EQ(ColourAt(205, 35), kWhite);
  EXPECT_EQ(ColourAt(205, 165), kWhite);
  EXPECT_GT(CountPixels(surface, Is(kGreen), 150, 40, 260, 160), 105 * 115);
}

TEST_F(LinePixelsTest, OpenCompoundShapeDrawsItsOutlineOnly) {
  KpzBuilder b = Page();
  KpzShape shape;
  shape.closeFlag = 1;
  shape.parts = {{4, {{150, 40}, {260, 40}, {260, 160}, {150, 160}}, {}}};
  b.BeginPage()
      .LineColour(KpzBuilder::Rgb(255, 0, 0))
      .LineWidth(3)
      .FillColour(1, KpzBuilder::Rgb(0, 255, 0))
      .CompoundShape(0, {shape})
      .EndPage();
  Draw(b);
  EXPECT_EQ(ColourAt(205, 40), kRed);
  EXPECT_EQ(ColourAt(150, 100), kRed);  // the closing edge
  EXPECT_EQ(ColourAt(205, 100), kWhite);
  EXPECT_EQ(CountPixels(surface, Is(kGreen), 0, 0, 320, 320), 0);
}

// A filled 100 x 100-dot square at (100, 50); fill-only, so its edges are exact.
KpzBuilder SquarePlot() {
  KpzBuilder b = Page();
  b.BeginPage()
      .FillColour(1, KpzBuilder::Rgb(0, 255, 0))
      .PolygonSet(2, {{{100, 50}, {200, 50}, {200, 150}, {100, 150}, {100, 50}}})
      .EndPage();
  return b;
}

TEST_F(LinePixelsTest, ZoomedViewHasExactlyTheRequestedScaleAndOrigin) {
  Draw(SquarePlot(), {.zoom = 0.5, .rotation = 0, .originX = 30, .originY = 40});
  // x 100..200 dots -> 30 + 50..100 = 80..130 pixels; y 50..150 -> 40 + 25..75 = 65..115.
  const auto row = Runs(surface, Is(kGreen), false, 90, 0, 320);
  const auto column = Runs(surface, Is(kGreen), true, 105, 0, 320);
  ASSERT_EQ(row.size(), 1u) << Describe(row);
  ASSERT_EQ(column.size(), 1u) << Describe(column);
  EXPECT_NEAR(row[0].start, 80, 1);
  EXPECT_NEAR(row[0].length, 50, 1);
  EXPECT_NEAR(column[0].start, 65, 1);
  EXPECT_NEAR(column[0].length, 50, 1);
}

TEST_F(LinePixelsTest, ZoomedTurnedViewMovesWithANegativeOrigin) {
  // Turned by 90: x = 200 - y, y = x, so the square spans x 50..150, y 100..200 in dots;
  // times 2 and moved by (-60, -150): pixels 40..240 by 50..250.
  Draw(SquarePlot(), {.zoom = 2, .rotation = 90, .originX = -60, .originY = -150});
  const auto row = Runs(surface, Is(kGreen), false, 150, 0, 320);
  const auto column = Runs(surface, Is(kGreen), true, 140, 0, 320);
  ASSERT_EQ(row.size(), 1u) << Describe(row);
  ASSERT_EQ(column.size(), 1u) << Describe(column);
  EXPECT_NEAR(row[0].start, 40, 1);
  EXPECT_NEAR(row[0].length, 200, 2);
  EXPECT_NEAR(column[0].start, 50, 1);
  EXPECT_NEAR(column[0].length, 200, 2);
}

TEST_F(LinePixelsTest, FitPutsTheWholeTurnedPageInTheArea) {
  KpzBuilder b = Page();
  b.BeginPage()
      .FillColour(1, KpzBuilder::Rgb(0, 255, 0))
      .PolygonSet(2, {{{0, 0}, {kPageW, 0}, {kPageW, kPageH}, {0, kPageH}, {0, 0}}})
      .EndPage();
  // A 320 x 240 area holds the turned 200 x 300 page at 0.8 pixels per dot: 160 x 240.
  Draw(b, {.zoom = 0, .rotation = 270, .areaWidth = 320, .areaHeight = 240});
  EXPECT_NEAR(fittedZoom, 0.8, 1e-4);  // the page size is a 16.16 fraction
  const auto row = Runs(surface, Is(kGreen), false, 160, 0, 320);
  const auto column = Runs(surface, Is(kGreen), true, 100, 0, 320);
  ASSERT_EQ(row.size(), 1u) << Describe(row);
  ASSERT_EQ(column.size(), 1u) << Describe(column);
  EXPECT_EQ(row[0].start, 0);
  EXPECT_NEAR(row[0].length, 160, 1);
  EXPECT_EQ(column[0].start, 0);
  EXPECT_NEAR(column[0].length, 240, 1);
}

}  // namespace
}  // namespace quillon
