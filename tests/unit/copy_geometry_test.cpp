// The clipboard copy's frame and metafile view from the screen's measurements.

#include "interact/copy_geometry.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

// A 96 dpi screen of 1280 x 1024 pixels measured as 338 x 270 mm.
constexpr ScreenMetrics kScreen{338, 270, 1280, 1024, 96};
constexpr double kResolution = 1000;  // dots per metre
// Dots per pixel at true size: (1000 * 0.0254 + 0.1) / 96.
constexpr double kHx = 33800.0 / 1280;  // hundredths of a millimetre per pixel
constexpr double kHy = 27000.0 / 1024;
const double kU = (kResolution * 0.025399999187200026 + 0.1) / 96;

ViewState View(double scale) {
  ViewState v;
  v.ViewScale = scale;
  v.xOrg = -30;
  v.yOrg = 12;
  v.Rot = 90;
  v.DrawExtentX = 600;
  v.DrawExtentY = 800;
  return v;
}

TEST(CopyGeometryTest, FrameIsTheShownAreaAtTruePhysicalSize) {
  struct Case {
    const char* name;
    double zoomToTrueSize;
    PaintBounds bounds;
    int statusBar;
    double right, bottom;
  };
  const Case cases[] = {
      // At true size the frame is the window in hundredths of a millimetre.
      {"true size", 1.0, {0, 0, 400, 318}, 17, kHx * 400, kHy * 301},
      {"status bar hidden", 1.0, {0, 0, 400, 318}, 0, kHx * 400, kHy * 318},
      // Twice true size shows half the physical area.
      {"zoomed in", 2.0, {0, 0, 400, 318}, 17, kHx * 200, kHy * 150.5},
      {"zoomed out", 0.5, {0, 0, 400, 318}, 0, kHx * 800, kHy * 636},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto g = ComputeCopyGeometry(kScreen, kResolution, View(c.zoomToTrueSize / kU),
                                       ViewFrame{}, c.bounds, c.statusBar);
    ASSERT_TRUE(g.has_value());
    EXPECT_DOUBLE_EQ(g->trueSizeZoom, c.zoomToTrueSize);
    EXPECT_EQ(g->frameLeft, 0);
    EXPECT_EQ(g->frameTop, 0);
    EXPECT_NEAR(g->frameRight, c.right, 1);
    EXPECT_NEAR(g->frameBottom, c.bottom, 1);
  }
}

TEST(CopyGeometryTest, MetafileViewIsTheScreenViewInTrueSizePixels) {
  const double scale = 3.0 / kU;  // three times true size
  const auto g =
      ComputeCopyGeometry(kScreen, kResolution, View(scale), ViewFrame{}, {0, 0, 400, 318}, 17);
  ASSERT_TRUE(g.has_value());
  EXPECT_DOUBLE_EQ(g->metafileView.width, 200);
  EXPECT_NEAR(g->metafileView.height, 800.0 / 3, 1e-9);
  EXPECT_DOUBLE_EQ(g->metafileView.originX, -10);
  EXPECT_DOUBLE_EQ(g->metafileView.originY, 4);
  EXPECT_EQ(g->metafileView.rotation, 90);
  EXPECT_EQ(g->metafileView.zoom, 0);  // the draw fits the page into those extents
}

TEST(CopyGeometryTest, ScaleNotYetDerivedIsTheOneTheNextPaintDraws) {
  ViewState v = View(0);
  ViewFrame frame;
  frame.KpzXSize = 300;
  frame.KpzYSize = 200;  // fitted scale: min(600 / 300, 800 / 200) = 2
  const auto g = ComputeCopyGeometry(kScreen, kResolution, v, frame, {0, 0, 400, 318}, 17);
  ASSERT_TRUE(g.has_value());
  EXPECT_DOUBLE_EQ(g->trueSizeZoom, 2 * kU);
}

TEST(CopyGeometryTest, ScreenWithoutMeasurementsGivesNoFrame) {
  const ScreenMetrics broken[] = {
      {338, 270, 0, 1024, 96}, {338, 270, 1280, 0, 96}, {338, 270, 1280, 1024, 0}};
  for (const ScreenMetrics& s : broken) {
    EXPECT_FALSE(ComputeCopyGeometry(s, kResolution, View(1), ViewFrame{}, {0, 0, 400, 318}, 17));
  }
  // A frame that no LONG holds.
  EXPECT_FALSE(
      ComputeCopyGeometry(kScreen, kResolution, View(1e-12), ViewFrame{}, {0, 0, 400, 318}, 17));
}

}  // namespace
}  // namespace quillon
