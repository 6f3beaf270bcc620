#include "interact/view_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace quillon {
namespace {

// A 1000 x 600 dot page at half scale, origin off the pixel grid.
class ViewMappingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame.KpzXSize = 1000;
    frame.KpzYSize = 600;
    view.ViewScale = 0.5;
    view.xOrg = 10.25;
    view.yOrg = -20.75;
  }
  ViewState view;
  ViewFrame frame;
};

TEST(ViewStateTest, StartsAtTheInitialView) {
  const ViewState view;
  EXPECT_EQ(view.ViewScale, 0);
  EXPECT_EQ(view.xOrg, 0);
  EXPECT_EQ(view.yOrg, 0);
  EXPECT_EQ(view.Rot, 270);
  EXPECT_EQ(view.DrawExtentX, 500.0);
  EXPECT_EQ(view.DrawExtentY, 500.0);
  const ViewFrame frame;
  EXPECT_EQ(frame.KpzXSize, 1);
  EXPECT_EQ(frame.KpzYSize, 1);
  EXPECT_EQ(frame.ScaleFactor, 2.0);
}

TEST(ViewStateTest, RotPutTakesOnlyQuarterTurns) {
  ViewState view;
  for (int rot : {0, 90, 180, 270}) {
    EXPECT_TRUE(PutRot(view, rot));
    EXPECT_EQ(view.Rot, rot);
  }
  view.Rot = 270;
  for (int rot : {45, -90, 360, 1, std::numeric_limits<int>::min()}) {
    EXPECT_FALSE(PutRot(view, rot)) << rot;
    EXPECT_EQ(view.Rot, 270) << rot;
  }
}

TEST(ViewStateTest, NewDocumentResetsOriginRotationAndScale) {
  ViewState view{2.5, 30, -40, 90, 1200, 800};
  ResetForNewDocument(view);
  EXPECT_EQ(view.xOrg, 0);
  EXPECT_EQ(view.yOrg, 0);
  EXPECT_EQ(view.Rot, 270);
  EXPECT_EQ(view.ViewScale, 0);
  // The extents are set up by the load that follows, not here.
  EXPECT_EQ(view.DrawExtentX, 1200);
  EXPECT_EQ(view.DrawExtentY, 800);
}

TEST(ViewStateTest, ExtentsFollowTheDrawingAreaTurnedWithThePage) {
  ViewState view;
  for (int rot : {90, 270}) {
    view.Rot = rot;
    SetExtentsToView(view, 600, 400);
    EXPECT_EQ(view.DrawExtentX, 400) << rot;
    EXPECT_EQ(view.DrawExtentY, 600) << rot;
  }
  for (int rot : {0, 180}) {
    view.Rot = rot;
    SetExtentsToView(view, 600, 400);
    EXPECT_EQ(view.DrawExtentX, 600) << rot;
    EXPECT_EQ(view.DrawExtentY, 400) << rot;
  }
}

TEST(ViewStateTest, FittedScaleIsTheSmallerAxisRatio) {
  ViewState view;
  view.DrawExtentX = 500;
  view.DrawExtentY = 500;
  ViewFrame frame;
  frame.KpzXSize = 2000;
  frame.KpzYSize = 1000;
  EXPECT_DOUBLE_EQ(FittedScale(view, frame), 0.25);
  view.ViewScale = 0;
  EXPECT_DOUBLE_EQ(EffectiveScale(view, frame), 0.25);
  view.ViewScale = 3;
  EXPECT_DOUBLE_EQ(EffectiveScale(view, frame), 3);
}

TEST(ViewStateTest, EmptyPageGivesAFiniteScale) {
  ViewState view;
  ViewFrame frame;
  frame.KpzXSize = 0;
  frame.KpzYSize = 0;
  EXPECT_TRUE(std::isfinite(FittedScale(view, frame)));
  EXPECT_DOUBLE_EQ(FittedScale(view, frame), 500);
}

TEST_F(ViewMappingTest, KpzToViewInEachRotation) {
  const KpzPoint p{301, 199};  // scaled: a = 151, b = 100
  view.Rot = 0;
  EXPECT_EQ(KpzToView(view, frame, p), (ViewPoint{161, 79}));
  view.Rot = 90;
  EXPECT_EQ(KpzToView(view, frame, p), (ViewPoint{210, 130}));
  view.Rot = 180;
  EXPECT_EQ(KpzToView(view, frame, p), (ViewPoint{359, 179}));
  view.Rot = 270;
  EXPECT_EQ(KpzToView(view, frame, p), (ViewPoint{110, 328}));
}

TEST_F(ViewMappingTest, ViewToKpzInEachRotation) {
  const ViewPoint px{161, 79};  // offset from the origin: (151, 100)
  view.Rot = 0;
  EXPECT_EQ(ViewToKpz(view, frame, px), (KpzPoint{302, 200}));
  view.Rot = 90;
  EXPECT_EQ(ViewToKpz(view, frame, px), (KpzPoint{200, 298}));
  view.Rot = 180;
  EXPECT_EQ(ViewToKpz(view, frame, px), (KpzPoint{698, 400}));
  view.Rot = 270;
  EXPECT_EQ(ViewToKpz(view, frame, px), (KpzPoint{800, 302}));
}

TEST_F(ViewMappingTest, DefaultRotationTurnsXUpAndYRight) {
  view.Rot = 270;
  view.yOrg = 20.25;
  const ViewPoint origin = KpzToView(view, frame, {0, 0});
  const ViewPoint alongX = KpzToView(view, frame, {100, 0});
  const ViewPoint alongY = KpzToView(view, frame, {0, 100});
  EXPECT_EQ(alongX.x, origin.x);
  EXPECT_LT(alongX.y, origin.y);
  EXPECT_GT(alongY.x, origin.x);
  EXPECT_EQ(alongY.y, origin.y);
  // The page's X origin sits at the bottom of the turned page.
  EXPECT_EQ(origin.y, KpzToView(view, frame, {1000, 0}).y + 500);
}

TEST_F(ViewMappingTest, UnitScaleRoundTripIsExact) {
  view.ViewScale = 1;
  view.xOrg = 7;
  view.yOrg = 3;
  for (int rot : {0, 90, 180, 270}) {
    view.Rot = rot;
    for (int x = 0; x <= 1000; x += 125)
      for (int y = 0; y <= 600; y += 75) {
        const KpzPoint p{x, y};
        EXPECT_EQ(ViewToKpz(view, frame, KpzToView(view, frame, p)), p) << rot;
      }
  }
}

TEST_F(ViewMappingTest, RoundTripStaysWithinRoundingAtAnyScale) {
  for (double s : {0.13, 0.5, 1.0, 1.7, 4.0}) {
    view.ViewScale = s;
    const int tolerance = static_cast<int>(2 / s) + 1;
    for (int rot : {0, 90, 180, 270}) {
      view.Rot = rot;
      for (int x = 0; x <= 1000; x += 37)
        for (int y = 0; y <= 600; y += 41) {
          const KpzPoint back = ViewToKpz(view, frame, KpzToView(view, frame, {x, y}));
          EXPECT_LE(std::abs(back.x - x), tolerance) << s << " " << rot << " " << x;
          EXPECT_LE(std::abs(back.y - y), tolerance) << s << " " << rot << " " << y;
        }
    }
  }
}

TEST_F(ViewMappingTest, MappingsTruncateTowardZero) {
  view.Rot = 0;
  view.ViewScale = 1;
  view.xOrg = -100;
  view.yOrg = 0;
  // -100 + 0.5 + 50 = -49.5 truncates to -49, not -50.
  EXPECT_EQ(KpzToView(view, frame, {50, 0}).x, -49);
  // Offset -2.5 truncates to -2; -2 / 1.5 truncates to -1.
  view.ViewScale = 1.5;
  view.xOrg = 0;
  EXPECT_EQ(ViewToKpz(view, frame, {-3, 0}).x, -1);
}

TEST_F(ViewMappingTest, ZeroScaleDerivesTheScaleFromTheExtents) {
  // Between a zoom and its paint ViewScale is 0: map with the scale the paint will use.
  view.ViewScale = 0;
  view.DrawExtentX = 500;
  view.DrawExtentY = 600;
  view.Rot = 0;
  view.xOrg = 0;
  view.yOrg = 0;
  EXPECT_EQ(KpzToView(view, frame, {1000, 600}), (ViewPoint{500, 300}));
  EXPECT_EQ(ViewToKpz(view, frame, {500, 300}), (KpzPoint{1000, 600}));
}

TEST_F(ViewMappingTest, EmptyExtentsMapToTheOrigin) {
  view.ViewScale = 0;
  view.DrawExtentX = 0;
  view.DrawExtentY = 0;
  EXPECT_EQ(ViewToKpz(view, frame, {400, 300}), (KpzPoint{0, 0}));
}

TEST_F(ViewMappingTest, FarOriginsSaturateInsteadOfOverflowing) {
  view.xOrg = 1e300;
  view.yOrg = -1e300;
  const ViewPoint p = KpzToView(view, frame, {10, 10});
  EXPECT_EQ(p.x, std::numeric_limits<int>::max());
  EXPECT_EQ(p.y, std::numeric_limits<int>::min());
}

}  // namespace
}  // namespace quillon
