#include "interact/navigation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/recording_view_listener.h"
#include "tests/support/test_view_frame.h"

namespace quillon {
namespace {

using Events = std::vector<std::string>;

// An 800 x 600 drawing area over a 2000 x 1000 dot page.
class NavigationTest : public ::testing::Test {
 protected:
  void SetUp() override { UseTestViewFrame(nav.frame); }
  // A view at this scale and rotation whose page covers the window centre, the origin off the
  // pixel grid.
  void CoverCentre(double scale, int rot) {
    const bool sideways = rot == 90 || rot == 270;
    const double across = scale * (sideways ? nav.frame.KpzYSize : nav.frame.KpzXSize);
    const double down = scale * (sideways ? nav.frame.KpzXSize : nav.frame.KpzYSize);
    nav.view = {scale, 400 - 0.4 * across - 0.3, 300 - 0.6 * down - 0.45, rot, 500, 500};
  }
  // The document point under the centre of the buffer.
  KpzPoint Centre() const {
    return ViewToKpz(nav.view, nav.frame, {nav.frame.BufferWidth / 2, nav.frame.BufferHeight / 2});
  }
  Navigation nav;
  RecordingListener listener;
};

// ---- zoom by a factor

TEST_F(NavigationTest, ZoomByTwoAboutTheCentre) {
  nav.view.Rot = 0;
  EXPECT_TRUE(ScaleIt(nav, listener, 2));
  EXPECT_EQ(nav.view.xOrg, -400);
  EXPECT_EQ(nav.view.yOrg, -300);
  EXPECT_EQ(nav.view.DrawExtentX, 1000);
  EXPECT_EQ(nav.view.DrawExtentY, 1000);
  EXPECT_TRUE(ScaleIt(nav, listener, 2));
  EXPECT_EQ(nav.view.xOrg, -1200);
  EXPECT_EQ(nav.view.yOrg, -900);
  EXPECT_EQ(nav.view.DrawExtentX, 2000);
}

TEST_F(NavigationTest, ZoomClearsTheScaleForThePaint) {
  nav.view.ViewScale = 0.25;
  ScaleIt(nav, listener, 2);
  EXPECT_EQ(nav.view.ViewScale, 0);
  EXPECT_EQ(listener.events, (Events{"zoom 0", "invalidate"}));
}

TEST_F(NavigationTest, ZoomKeepsTheCentrePoint) {
  nav.view.Rot = 0;
  nav.view.xOrg = -100;
  nav.view.yOrg = -50;
  nav.view.ViewScale = FittedScale(nav.view, nav.frame);
  const KpzPoint before = Centre();
  for (double f : {2.0, 1.5, 0.5}) {
    ScaleIt(nav, listener, f);
    const KpzPoint after = Centre();
    const int tolerance = static_cast<int>(2 / EffectiveScale(nav.view, nav.frame)) + 1;
    EXPECT_LE(std::abs(after.x - before.x), tolerance) << f;
    EXPECT_LE(std::abs(after.y - before.y), tolerance) << f;
  }
}

TEST_F(NavigationTest, ZoomMirrorsAnOriginRightOfTheCentre) {
  // The distance to the centre is taken as a magnitude: an origin right of or below the
  // centre comes back on the other side.
  nav.view.xOrg = 500;
  nav.view.yOrg = 400;
  ScaleIt(nav, listener, 2);
  EXPECT_EQ(nav.view.xOrg, 200);
  EXPECT_EQ(nav.view.yOrg, 100);
}

TEST_F(NavigationTest, ZoomRefusedBeyondTheLargestExtent) {
  nav.view.DrawExtentX = 20000;
  nav.view.xOrg = -10;
  listener.journal = true;
  EXPECT_FALSE(ScaleIt(nav, listener, 2));
  EXPECT_EQ(nav.view.DrawExtentX, 20000);
  EXPECT_EQ(nav.view.DrawExtentY, 500);
  EXPECT_EQ(nav.view.xOrg, -10);
  // Still recorded and refreshed.
  EXPECT_EQ(listener.events[1], "journal SCALE");
  EXPECT_EQ(listener.events[2], "invalidate");
  EXPECT_EQ(listener.events.size(), 4u);
}

TEST_F(NavigationTest, ZoomLimitsAreClosed) {
  nav.view.DrawExtentX = 100;
  nav.view.DrawExtentY = 32767;
  EXPECT_TRUE(ScaleIt(nav, listener, 0.5));  // 50 and 16383.5
  EXPECT_EQ(nav.view.DrawExtentX, 50);
  EXPECT_FALSE(ScaleIt(nav, listener, 0.99));  // 49.5
  nav.view.DrawExtentX = 32767;
  nav.view.DrawExtentY = 1000;
  EXPECT_TRUE(ScaleIt(nav, listener, 1));
  EXPECT_FALSE(ScaleIt(nav, listener, 1.001));
}

TEST_F(NavigationTest, ZoomRefusesSenselessFactors) {
  for (double f : {0.0, -2.0, std::numeric_limits<double>::quiet_NaN(),
                   std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(ScaleIt(nav, listener, f)) << f;
    EXPECT_EQ(nav.view.DrawExtentX, 500);
    EXPECT_EQ(nav.view.xOrg, 0);
  }
}

TEST_F(NavigationTest, ScaleStepsByScaleFactorWhateverItIsAsked) {
  nav.frame.ScaleFactor = 1.5;
  Navigation other = nav;
  EXPECT_TRUE(Scale(nav, listener, 5.0));
  EXPECT_TRUE(Scale(other, listener, 0.1));
  EXPECT_EQ(nav.view.DrawExtentX, 750);
  EXPECT_EQ(other.view.DrawExtentX, nav.view.DrawExtentX);
  EXPECT_EQ(other.view.DrawExtentY, nav.view.DrawExtentY);
  EXPECT_EQ(other.view.xOrg, nav.view.xOrg);
  EXPECT_EQ(other.view.yOrg, nav.view.yOrg);
}

TEST_F(NavigationTest, ScaleDownStepsByTheInverseFactor) {
  nav.frame.ScaleFactor = 2;
  EXPECT_TRUE(ScaleDown(nav, listener, 0.66666));
  EXPECT_EQ(nav.view.DrawExtentX, 250);
  EXPECT_EQ(nav.view.xOrg, 200);  // 400 - 0.5 * 400
}

// ---- refresh and journal

TEST_F(NavigationTest, RefreshWithTheJournalFixesTheScale) {
  listener.journal = true;
  nav.view.DrawExtentX = 500;
  nav.view.DrawExtentY = 500;
  ScaleIt(nav, listener, 2);
  // min(1000 / 2000, 1000 / 1000)
  EXPECT_EQ(nav.view.ViewScale, 0.5);
  EXPECT_EQ(listener.events, (Events{"zoom 0", "journal SCALE", "invalidate",
                                     "state -400.000000 -300.000000 0.500000 270"}));
}

TEST_F(NavigationTest, RefreshWithoutTheJournalOnlyInvalidates) {
  nav.view.ViewScale = 0;
  Refresh(nav, listener);
  EXPECT_EQ(nav.view.ViewScale, 0);
  EXPECT_EQ(listener.events, (Events{"invalidate"}));
}

// ---- fit

TEST_F(NavigationTest, FitTurnedPageSwapsTheExtents) {
  nav.frame.ViewWidth = 600;
  nav.frame.ViewHeight = 400;
  nav.view = {1.5, -30, 20, 270, 3000, 3000};
  listener.journal = true;
  Fit(nav, listener);
  EXPECT_EQ(nav.view.DrawExtentX, 400);
  EXPECT_EQ(nav.view.DrawExtentY, 600);
  EXPECT_EQ(nav.view.xOrg, 0);
  EXPECT_EQ(nav.view.yOrg, 0);
  EXPECT_EQ(listener.events, (Events{"zoom 0", "journal FIT", "invalidate",
                                     "state 0.000000 0.000000 0.200000 270"}));
}

TEST_F(NavigationTest, FitUprightPageKeepsTheAreaAxes) {
  nav.frame.ViewWidth = 600;
  nav.frame.ViewHeight = 400;
  nav.view.Rot = 180;
  Fit(nav, listener);
  EXPECT_EQ(nav.view.DrawExtentX, 600);
  EXPECT_EQ(nav.view.DrawExtentY, 400);
  EXPECT_EQ(nav.view.ViewScale, 0);
}

// ---- pans

TEST_F(NavigationTest, PanLeftStopsBeforeTheRightEdge) {
  listener.journal = true;
  EXPECT_TRUE(PanLeft(nav, listener));
  EXPECT_EQ(nav.view.xOrg, 400);
  listener.events.clear();
  EXPECT_FALSE(PanLeft(nav, listener));  // 800 is not below 800
  EXPECT_EQ(nav.view.xOrg, 400);
  EXPECT_TRUE(listener.events.empty());
}

TEST_F(NavigationTest, PanUpStopsBeforeTheBottomEdge) {
  EXPECT_TRUE(PanUp(nav, listener));
  EXPECT_EQ(nav.view.yOrg, 300);
  EXPECT_FALSE(PanUp(nav, listener));
  EXPECT_EQ(nav.view.yOrg, 300);
}

TEST_F(NavigationTest, PanRightLimitIsTheOnScreenWidth) {
  nav.view.ViewScale = 0.5;
  nav.view.Rot = 270;  // on screen 500 wide: the page's height
  EXPECT_TRUE(PanRight(nav, listener));
  EXPECT_EQ(nav.view.xOrg, -400);
  EXPECT_FALSE(PanRight(nav, listener));
  EXPECT_EQ(nav.view.xOrg, -400);

  nav.view.Rot = 0;  // 1000 wide
  nav.view.xOrg = 0;
  EXPECT_TRUE(PanRight(nav, listener));
  EXPECT_TRUE(PanRight(nav, listener));
  EXPECT_FALSE(PanRight(nav, listener));  // -1200 is beyond -1000
  EXPECT_EQ(nav.view.xOrg, -800);
}

TEST_F(NavigationTest, PanLimitsHoldForPutScalesOfAnySize) {
  // A scale put by a script can make the on-screen extent any int, INT_MIN included: the
  // limit still compares, and a page wider than any window always lets the pan go.
  struct Case {
    double scale;
    bool pans;
  };
  for (const Case& c : std::vector<Case>{{-1e300, false}, {-1e10, false}, {1e300, true}}) {
    nav.view.ViewScale = c.scale;
    nav.view.xOrg = nav.view.yOrg = 0;
    EXPECT_EQ(PanRight(nav, listener), c.pans) << c.scale;
    EXPECT_EQ(PanDown(nav, listener), c.pans) << c.scale;
  }
}

TEST_F(NavigationTest, PanDownLimitIsTheOnScreenHeight) {
  nav.view.ViewScale = 0.5;
  nav.view.Rot = 90;  // on screen 1000 high: the page's width
  EXPECT_TRUE(PanDown(nav, listener));
  EXPECT_TRUE(PanDown(nav, listener));
  EXPECT_TRUE(PanDown(nav, listener));
  EXPECT_FALSE(PanDown(nav, listener));  // -1200
  EXPECT_EQ(nav.view.yOrg, -900);

  nav.view.Rot = 180;  // 500 high
  nav.view.yOrg = 0;
  EXPECT_TRUE(PanDown(nav, listener));
  EXPECT_FALSE(PanDown(nav, listener));  // -600
  EXPECT_EQ(nav.view.yOrg, -300);
}

TEST_F(NavigationTest, PanLimitUsesTheScaleAboutToBeDrawn) {
  // Straight after a zoom ViewScale is 0; the limit still uses the page's coming width.
  nav.view = {0, 0, 0, 0, 800, 600};  // derived scale 0.4: 800 pixels wide
  EXPECT_TRUE(PanRight(nav, listener));
  EXPECT_FALSE(PanRight(nav, listener));  // -800 is not beyond -800
  EXPECT_EQ(nav.view.xOrg, -400);
}

TEST_F(NavigationTest, PanJournalsItsKeywordOnlyWhenItMoves) {
  listener.journal = true;
  nav.view.ViewScale = 1;
  PanRight(nav, listener);
  PanUp(nav, listener);
  PanDown(nav, listener);
  std::vector<std::string> keywords;
  for (const auto& e : listener.events)
    if (e.rfind("journal ", 0) == 0) keywords.push_back(e);
  EXPECT_EQ(keywords, (Events{"journal PANRIGHT", "journal PANUP", "journal PANDOWN"}));
}

TEST_F(NavigationTest, PanDropsADragsShiftedDisplay) {
  nav.drag.PanDragging = true;
  nav.drag.PanDragOffset = {30, 40};
  nav.view.xOrg = 700;
  EXPECT_FALSE(PanLeft(nav, listener));  // refused, but the drag display still ends
  EXPECT_FALSE(nav.drag.PanDragging);
  EXPECT_EQ(nav.drag.PanDragOffset, (ViewPoint{0, 0}));
}

// ---- quarter turns

TEST_F(NavigationTest, QuarterTurnSequences) {
  EXPECT_EQ(RotatedRight(0), 90);
  EXPECT_EQ(RotatedRight(90), 180);
  EXPECT_EQ(RotatedRight(180), 270);
  EXPECT_EQ(RotatedRight(270), 0);
  EXPECT_EQ(RotatedLeft(0), 270);
  EXPECT_EQ(RotatedLeft(270), 180);
  EXPECT_EQ(RotatedLeft(180), 90);
  EXPECT_EQ(RotatedLeft(90), 0);
}

TEST_F(NavigationTest, RotateRightFromTheDefaultView) {
  nav.view = {1, 0, 0, 270, 2000, 1000};
  listener.journal = true;
  RotateRight(nav, listener);
  // Centre (400, 300) shows page point (1700, 400), which at Rot 0 lies 1700, 400 from the
  // origin.
  EXPECT_EQ(nav.view.Rot, 0);
  EXPECT_EQ(nav.view.xOrg, -1300);
  EXPECT_EQ(nav.view.yOrg, -100);
  EXPECT_EQ(Centre(), (KpzPoint{1700, 400}));
  EXPECT_EQ(listener.events[0], "raster cache");
  EXPECT_EQ(listener.events[1], "journal ROTATERIGHT");
  EXPECT_EQ(listener.events[2], "invalidate");
}

TEST_F(NavigationTest, EachTurnKeepsTheCentrePoint) {
  for (double scale : {0.25, 0.37, 1.0, 3.0}) {
    // The centre point is found in whole dots: a dot wider than a pixel adds its width.
    const int tolerance = 1 + static_cast<int>(std::ceil(std::max(1.0, scale)));
    for (int start : {0, 90, 180, 270}) {
      for (bool right : {false, true}) {
        CoverCentre(scale, start);
        const KpzPoint centre = Centre();
        right ? RotateRight(nav, listener) : RotateLeft(nav, listener);
        EXPECT_EQ(nav.view.Rot, right ? RotatedRight(start) : RotatedLeft(start));
        const ViewPoint shown = KpzToView(nav.view, nav.frame, centre);
        EXPECT_LE(std::abs(shown.x - 400), tolerance) << scale << " " << start << " " << right;
        EXPECT_LE(std::abs(shown.y - 300), tolerance) << scale << " " << start << " " << right;
      }
    }
  }
}

TEST_F(NavigationTest, FourTurnsComeBackToTheStartingView) {
  for (double scale : {0.25, 0.37, 1.0, 3.0}) {
    // About one pixel per turn, or one dot where a dot is wider.
    const double tolerance = 4 * std::max(1.0, scale);
    for (bool right : {false, true}) {
      CoverCentre(scale, 270);
      const ViewState start = nav.view;
      for (int i = 0; i < 4; ++i) right ? RotateRight(nav, listener) : RotateLeft(nav, listener);
      EXPECT_EQ(nav.view.Rot, 270);
      EXPECT_EQ(nav.view.ViewScale, scale);
      EXPECT_LE(std::fabs(nav.view.xOrg - start.xOrg), tolerance) << scale << " " << right;
      EXPECT_LE(std::fabs(nav.view.yOrg - start.yOrg), tolerance) << scale << " " << right;
    }
  }
}

TEST_F(NavigationTest, TurnAfterAZoomUsesTheComingScale) {
  nav.view = {0, -300, -200, 0, 1000, 1000};  // derived scale 0.5
  const KpzPoint before = Centre();
  RotateLeft(nav, listener);
  EXPECT_EQ(nav.view.ViewScale, 0);
  const KpzPoint after = Centre();
  EXPECT_LE(std::abs(after.x - before.x), 5);
  EXPECT_LE(std::abs(after.y - before.y), 5);
}

// ---- centre on a point

TEST_F(NavigationTest, ZoomAboutKeepsThePixelOnItsPoint) {
  const struct {
    double f, xOrg, yOrg;
    ViewPoint pixel;
    bool zoomed;
    double newX, newY;
  } cases[] = {
      {2, 0, 0, {100, 50}, true, -100, -50},
      {2, 300, 200, {100, 50}, true, 500, 350},  // origin right of the pixel: no mirroring
      {0.5, -100, -50, {100, 50}, true, 0, 0},
      {100, 0, 0, {100, 50}, false, 0, 0},  // beyond the largest extent
  };
  for (const auto& c : cases) {
    nav.view = ViewState{};
    nav.view.xOrg = c.xOrg;
    nav.view.yOrg = c.yOrg;
    EXPECT_EQ(ZoomAbout(nav, listener, c.f, c.pixel), c.zoomed) << c.f;
    EXPECT_EQ(nav.view.xOrg, c.newX) << c.f;
    EXPECT_EQ(nav.view.yOrg, c.newY) << c.f;
    EXPECT_EQ(nav.view.DrawExtentX, c.zoomed ? 500 * c.f : 500) << c.f;
    EXPECT_EQ(listener.events.back(), "invalidate");
  }
}

TEST_F(NavigationTest, WindowCenterBringsThePointToTheCentre) {
  nav.frame.ViewWidth = 801;  // centre column trunc(400.5) = 400
  listener.journal = true;
  WindowCenter(nav, listener, 500, 250);
  EXPECT_EQ(nav.view.xOrg, -100);
  EXPECT_EQ(nav.view.yOrg, 50);
  EXPECT_EQ(listener.events[0], "journal WINDOWCENTER");
  EXPECT_EQ(listener.events[1], "invalidate");
}

TEST_F(NavigationTest, ZoomInAtCentresThenZooms) {
  nav.frame.ScaleFactor = 2;
  listener.journal = true;
  EXPECT_TRUE(ZoomInAt(nav, listener, 500, 300));
  // Centred: xOrg -100; zoomed: 400 - 2 * 500.
  EXPECT_EQ(nav.view.xOrg, -600);
  EXPECT_EQ(nav.view.yOrg, -300);
  EXPECT_EQ(nav.view.DrawExtentX, 1000);
  EXPECT_EQ(listener.events[1], "journal SCALE");
}

TEST_F(NavigationTest, ZoomOutAtCentresThenZoomsOut) {
  nav.frame.ScaleFactor = 2;
  EXPECT_TRUE(ZoomOutAt(nav, listener, 300, 300));
  // Centred: xOrg 100; zoomed: 400 - 0.5 * 300.
  EXPECT_EQ(nav.view.xOrg, 250);
  EXPECT_EQ(nav.view.DrawExtentX, 250);
}

// ---- zoom to a rectangle

TEST_F(NavigationTest, ZoomToRectangleFillsTheWidth) {
  nav.view.Rot = 0;
  EXPECT_TRUE(ZoomToRect(nav, listener, {100, 100}, {300, 250}));
  // Middle (200, 175) moved to the centre, origin (200, 125); then zoom by 800 / 200.
  EXPECT_EQ(nav.view.xOrg, -400);
  EXPECT_EQ(nav.view.yOrg, -400);
  EXPECT_EQ(nav.view.DrawExtentX, 2000);
  EXPECT_EQ(nav.view.DrawExtentY, 2000);
}

TEST_F(NavigationTest, ZoomToRectangleDraggedBackwards) {
  EXPECT_TRUE(ZoomToRect(nav, listener, {301, 251}, {100, 100}));
  // Half of -201 and -151 truncates to -100 and -75: middle (201, 176), origin (199, 124).
  const double f = 800.0 / 201;
  EXPECT_DOUBLE_EQ(nav.view.DrawExtentX, 500 * f);
  EXPECT_DOUBLE_EQ(nav.view.xOrg, 400 - f * 201);
  EXPECT_DOUBLE_EQ(nav.view.yOrg, 300 - f * 176);
}

TEST_F(NavigationTest, ZoomToRectangleHeldAtTheLargestExtent) {
  nav.view.DrawExtentX = 10000;
  nav.view.DrawExtentY = 20000;
  EXPECT_TRUE(ZoomToRect(nav, listener, {390, 290}, {410, 310}));  // would be 40 times
  EXPECT_LE(nav.view.DrawExtentY, 32767);
  EXPECT_DOUBLE_EQ(nav.view.DrawExtentY, 32767);
  EXPECT_DOUBLE_EQ(nav.view.DrawExtentX, 10000 * 32767.0 / 20000);
}

TEST_F(NavigationTest, FlatRectangleDoesNothing) {
  nav.view.ViewScale = 0.5;
  EXPECT_FALSE(ZoomToRect(nav, listener, {100, 100}, {100, 300}));
  EXPECT_FALSE(ZoomToRect(nav, listener, {100, 100}, {300, 100}));
  EXPECT_EQ(nav.view.xOrg, 0);
  EXPECT_EQ(nav.view.ViewScale, 0.5);
  EXPECT_TRUE(listener.events.empty());
}

TEST_F(NavigationTest, RectangleTooSmallToZoomStillCentres) {
  // The factor 800 / 2 is cut to 32767 / 30000, which takes the other extent below 50.
  nav.view.DrawExtentX = 30000;
  nav.view.DrawExtentY = 40;
  listener.journal = true;
  EXPECT_TRUE(ZoomToRect(nav, listener, {500, 400}, {502, 402}));
  EXPECT_EQ(nav.view.DrawExtentX, 30000);
  EXPECT_EQ(nav.view.xOrg, -101);
  EXPECT_EQ(nav.view.yOrg, -101);
  EXPECT_EQ(listener.events[2], "journal SCALE");
}

// ---- pan by dragging

TEST_F(NavigationTest, DragStepShiftsTheViewAndErasesUncoveredStrips) {
  ViewPoint last{100, 100};
  EXPECT_TRUE(PanDragStep(nav, listener, last, {120, 110}));
  EXPECT_TRUE(nav.drag.PanDragging);
  EXPECT_EQ(nav.drag.PanDragOffset, (ViewPoint{20, 10}));
  EXPECT_EQ(nav.view.xOrg, 20);
  EXPECT_EQ(nav.view.yOrg, 10);
  EXPECT_EQ(last, (ViewPoint{120, 110}));
  EXPECT_EQ(listener.events,
            (Events{"erase 0 0 20 600", "erase 0 0 800 10", "update", "repaint 20 10 800 600"}));
}

TEST_F(NavigationTest, DragStepUpAndLeftErasesTheFarStrips) {
  ViewPoint last{100, 100};
  EXPECT_TRUE(PanDragStep(nav, listener, last, {80, 90}));
  EXPECT_EQ(nav.view.xOrg, -20);
  EXPECT_EQ(nav.view.yOrg, -10);
  EXPECT_EQ(listener.events, (Events{"erase 780 0 800 600", "erase 0 590 800 600", "update",
                                     "repaint 0 0 780 590"}));
}

TEST_F(NavigationTest, DragStepsAccumulateTheOffset) {
  ViewPoint last{0, 0};
  PanDragStep(nav, listener, last, {10, 0});
  listener.events.clear();
  PanDragStep(nav, listener, last, {20, 0});
  EXPECT_EQ(nav.drag.PanDragOffset, (ViewPoint{20, 0}));
  EXPECT_EQ(listener.events, (Events{"erase 0 0 20 600", "update", "repaint 20 0 800 600"}));
}

TEST_F(NavigationTest, DragStepAgainstTheDragErasesNothing) {
  ViewPoint last{0, 0};
  PanDragStep(nav, listener, last, {30, 0});
  listener.events.clear();
  PanDragStep(nav, listener, last, {20, 0});
  // The strip right of the shifted image lies beyond the window; the left strip was erased
  // by the first step.
  EXPECT_EQ(nav.drag.PanDragOffset, (ViewPoint{20, 0}));
  EXPECT_EQ(listener.events, (Events{"update", "repaint 0 0 820 600"}));
}

TEST_F(NavigationTest, SmallMovesDoNotDrag) {
  ViewPoint last{100, 100};
  for (ViewPoint mouse : {ViewPoint{104, 104}, ViewPoint{96, 96}, ViewPoint{104, 96}}) {
    EXPECT_FALSE(PanDragStep(nav, listener, last, mouse));
  }
  EXPECT_EQ(last, (ViewPoint{100, 100}));
  EXPECT_FALSE(nav.drag.PanDragging);
  EXPECT_EQ(nav.view.xOrg, 0);
  listener.journal = true;
  EXPECT_FALSE(EndPanDrag(nav, listener));
  EXPECT_TRUE(listener.events.empty());
}

TEST_F(NavigationTest, DeadZoneIsMeasuredFromTheLastAcceptedPosition) {
  ViewPoint last{100, 100};
  EXPECT_FALSE(PanDragStep(nav, listener, last, {103, 100}));
  EXPECT_TRUE(PanDragStep(nav, listener, last, {105, 100}));
  EXPECT_EQ(nav.view.xOrg, 5);
  EXPECT_FALSE(PanDragStep(nav, listener, last, {101, 102}));
  EXPECT_TRUE(PanDragStep(nav, listener, last, {105, 95}));
  EXPECT_EQ(nav.view.yOrg, -5);
}

TEST_F(NavigationTest, EndOfDragDrawsAtTheNewOrigin) {
  ViewPoint last{0, 0};
  PanDragStep(nav, listener, last, {50, -30});
  listener.events.clear();
  listener.journal = true;
  nav.view.ViewScale = 0.5;
  EXPECT_TRUE(EndPanDrag(nav, listener));
  EXPECT_FALSE(nav.drag.PanDragging);
  EXPECT_EQ(nav.drag.PanDragOffset, (ViewPoint{0, 0}));
  EXPECT_EQ(nav.view.xOrg, 50);
  EXPECT_EQ(nav.view.yOrg, -30);
  EXPECT_EQ(listener.events,
            (Events{"journal PAN", "invalidate", "state 50.000000 -30.000000 0.250000 270"}));
  EXPECT_FALSE(EndPanDrag(nav, listener));
}

TEST_F(NavigationTest, DragAfterACancelStartsFromNoShift) {
  ViewPoint last{0, 0};
  PanDragStep(nav, listener, last, {50, 0});
  CancelPanDrag(nav.drag);
  PanDragStep(nav, listener, last, {60, 0});
  EXPECT_EQ(nav.drag.PanDragOffset, (ViewPoint{10, 0}));
  EXPECT_EQ(nav.view.xOrg, 60);
}

}  // namespace
}  // namespace quillon
