// The Plot To Form outline at the view's scale and the placement of the plot on the sheet.

#include "interact/form_outline.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

// A4 at 300 dpi: 2480 x 3508 pixels, a quarter inch unprintable on each side.
constexpr PrinterSheet kA4{2480, 3508, 75, 75, 300};

ViewState ViewOf(double extentX, double extentY) {
  ViewState v;
  v.DrawExtentX = extentX;
  v.DrawExtentY = extentY;
  return v;
}

TEST(FormOutlineTest, OutlineIsTheSheetAtTheViewsScale) {
  // A page of 1000 x 500 dots at 1000 dots per metre (1 x 0.5 m) shown 2000 x 1000 pixels:
  // two pixels per dot, one dot per millimetre.
  struct Case {
    double percentage;
    int pageRight, pageBottom, printableLeft, printableRight;
  };
  const Case cases[] = {
      // 2480 px at 0.08477 dots per pixel (a hundredth of a dot per hundred pixels more than
      // 209.97 mm) -> 210 dots -> 420 pixels; 3508 px -> 297 dots -> 594 pixels.
      {100, 420, 594, 12, 408},
      // Half size on paper: the sheet covers twice the plot.
      {50, 840, 1188, 24, 816},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percentage);
    const auto o = ComputeFormOutline(kA4, 1000, ViewOf(2000, 1000), 1000, 500, c.percentage);
    EXPECT_EQ(o.page.left, 0);
    EXPECT_EQ(o.page.top, 0);
    EXPECT_EQ(o.page.right, c.pageRight);
    EXPECT_EQ(o.page.bottom, c.pageBottom);
    EXPECT_EQ(o.printable.left, c.printableLeft);  // 75 px = 6.35 mm -> 6 dots
    EXPECT_EQ(o.printable.right, c.printableRight);
  }
  EXPECT_EQ(ComputeFormOutline({2480, 3508, 75, 75, 0}, 1000, ViewOf(2000, 1000), 1000, 500, 100)
                .page.right,
            0);  // a printer without a resolution draws no outline
}

TEST(FormOutlineTest, LargeOutlineZoomsTheViewOutButNotBelowFiftyPixels) {
  ViewFrame frame;
  frame.ViewWidth = 400;
  frame.ViewHeight = 300;
  FormOutlineRects fits{{0, 0, 200, 100}, {}};
  EXPECT_EQ(OutlineZoomOut(fits, ViewOf(400, 300), frame), 0);
  FormOutlineRects tall{{0, 0, 600, 300}, {}};
  EXPECT_DOUBLE_EQ(OutlineZoomOut(tall, ViewOf(400, 300), frame), 0.9 * 0.5);
  FormOutlineRects huge{{0, 0, 60000, 30000}, {}};
  EXPECT_DOUBLE_EQ(OutlineZoomOut(huge, ViewOf(400, 300), frame), 50.0 / 300);
}

TEST(FormOutlineTest, PlacementPutsTheViewOriginRelativeToThePrintableCorner) {
  // 1 x 0.5 m page of 1000 x 500 dots fitted to 1000 x 500 pixels: one pixel per millimetre;
  // a 100 dpi printer makes 3.937 printer pixels of it.
  ViewState view = ViewOf(1000, 500);
  view.xOrg = 10;
  view.yOrg = 20;
  const FormOutlineRects outline{{0, 0, 297, 210}, {5, 5, 292, 205}};
  const auto p = PlaceOnForm(outline, {100, 50}, view, 1000, 500, 1.0, 0.5, 100);
  const double f = 1.0 * 39.37007874015748 * 100 / 1000;
  EXPECT_DOUBLE_EQ(p.originX, (10 - 105) * f);
  EXPECT_DOUBLE_EQ(p.originY, (20 - 55) * f);
  EXPECT_NEAR(p.width, 200 * f, 1);
  EXPECT_NEAR(p.height, 287 * f, 1);
}

}  // namespace
}  // namespace quillon
