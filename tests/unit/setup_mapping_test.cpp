#include "render/setup_mapping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/trace_device.h"

namespace quillon {
namespace {

class SetupMappingTest : public ::testing::Test {
 protected:
  void Page(double widthMetres, double heightMetres, std::uint16_t resolution) {
    doc.header.pageWidth = widthMetres;
    doc.header.pageHeight = heightMetres;
    st.resolution = resolution;
  }
  std::vector<std::string> Mapping() const {
    std::vector<std::string> found;
    for (const auto& line : dev.lines())
      if (line.rfind("GetDeviceCaps", 0) != 0) found.push_back(line);
    return found;
  }
  KpzDocument doc;
  DrawState st{doc};
  TraceDevice dev;
};

TEST_F(SetupMappingTest, ScreenFitRecordsZoom) {
  Page(2.0, 1.0, 1000);
  st.zoom = 0;
  SetupMapping(dev, st, 500, 500, 0, 0, 500, 500, 0, 0);
  EXPECT_DOUBLE_EQ(st.zoom, 0.25);
  EXPECT_EQ(Mapping(),
            (std::vector<std::string>{"SetGraphicsMode 2", "SetMapMode 7", "SetWindowExt 2000 1000",
                                      "SetViewportExt 500 500", "SetViewportOrg 0 0"}));
}

TEST_F(SetupMappingTest, ScreenKeepsZoomWhateverTheArea) {
  Page(2.0, 1.0, 1000);
  st.zoom = 0.5;
  SetupMapping(dev, st, 123, 77, -40, 25, 123, 77, 0, 0);
  EXPECT_DOUBLE_EQ(st.zoom, 0.5);
  EXPECT_EQ(dev.Count("SetViewportExt 1000 500"), 1u);
  EXPECT_EQ(dev.Count("SetViewportOrg -40 25"), 1u);
}

TEST_F(SetupMappingTest, ScreenWithoutPageSizeKeepsZoomZero) {
  Page(0, 0, 0);
  SetupMapping(dev, st, 500, 500, 0, 0, 500, 500, 0, 0);
  EXPECT_EQ(st.zoom, 0);
}

TEST_F(SetupMappingTest, PrintFitWholePageTurnsWindowWithView) {
  Page(2.0, 1.0, 1000);
  st.print.scaleOption = ScaleOption::Fit;
  st.rotation = 90;
  SetupMapping(dev, st, 2399, 3299, 0, 0, 800, 600, 1, 0);
  EXPECT_EQ(Mapping(),
            (std::vector<std::string>{"SetMapMode 7", "SetWindowExt 1000 2000",
                                      "SetViewportExt 2399 3299", "SetViewportOrg 0 0"}));
  dev.Clear();
  st.rotation = 180;
  SetupMapping(dev, st, 2399, 3299, 0, 0, 800, 600, 1, 0);
  EXPECT_EQ(dev.Count("SetWindowExt 2000 1000"), 1u);
}

TEST_F(SetupMappingTest, PrintTrueSizeAt600Dpi) {
  Page(0.5, 0.25, 4000);
  st.print.scaleOption = ScaleOption::TrueSize;
  dev.SetDeviceCaps(gdi::kCapLogPixelsX, 600);
  SetupMapping(dev, st, 4799, 6599, 30, 40, 800, 600, 1, 0);
  EXPECT_EQ(Mapping(),
            (std::vector<std::string>{"SetMapMode 7", "SetWindowExt 2000 1000",
                                      "SetViewportExt 11811 5905", "SetViewportOrg 30 40"}));
}

TEST_F(SetupMappingTest, PrintPercentageScalesTrueSize) {
  Page(0.5, 0.25, 4000);
  st.print.scaleOption = ScaleOption::Percentage;
  st.print.scalePercent = 50;
  dev.SetDeviceCaps(gdi::kCapLogPixelsX, 600);
  SetupMapping(dev, st, 4799, 6599, 30, 40, 800, 600, 1, 0);
  EXPECT_EQ(dev.Count("SetViewportExt 5905 2952"), 1u);
  EXPECT_EQ(dev.Count("SetViewportOrg 30 40"), 1u);  // plot type 0 keeps the origin
}

TEST_F(SetupMappingTest, FormPlotScalesOriginByPercentage) {
  Page(0.5, 0.25, 4000);
  st.print.scaleOption = ScaleOption::Percentage;
  st.print.scalePercent = 50;
  dev.SetDeviceCaps(gdi::kCapLogPixelsX, 600);
  SetupMapping(dev, st, 4799, 6599, 300, 401, 800, 600, 1, 2);
  EXPECT_EQ(dev.Count("BeginPath"), 0u);
  EXPECT_EQ(dev.Count("SetViewportExt 5905 2952"), 1u);
  EXPECT_EQ(dev.Count("SetViewportOrg 150 200"), 1u);
}

TEST_F(SetupMappingTest, CurrentViewIsClippedWithMargin) {
  Page(2.0, 1.0, 1000);
  st.print.scaleOption = ScaleOption::Fit;
  doc.loadViewWidth = 800;
  doc.loadViewHeight = 600;
  // o = min(2399/800, 3299/600) = 2.99875
  SetupMapping(dev, st, 2399, 3299, 0, 0, 1000, 500, 1, 1);
  EXPECT_EQ(Mapping(),
            (std::vector<std::string>{"BeginPath", "MoveTo 0 0", "LineTo 0 1800",
                                      "LineTo 2400 1800", "LineTo 2400 0", "LineTo 0 0", "EndPath",
                                      "SelectClipPath 5", "SetMapMode 7", "SetWindowExt 2000 1000",
                                      "SetViewportExt 2998 1499", "SetViewportOrg 0 0"}));
}

TEST_F(SetupMappingTest, CurrentViewOriginScaledWhenNotZero) {
  Page(2.0, 1.0, 1000);
  st.print.scaleOption = ScaleOption::FitToForm;
  doc.loadViewWidth = 800;
  doc.loadViewHeight = 600;
  SetupMapping(dev, st, 1600, 3000, -100, 10, 1000, 500, 1, 1);  // o = 2
  EXPECT_EQ(dev.Count("SetViewportOrg -200 20"), 1u);
  EXPECT_EQ(dev.Count("SetViewportExt 2000 1000"), 1u);
}

TEST_F(SetupMappingTest, CurrentViewAtTrueSizeUsesLargerRatio) {
  Page(0.5, 0.25, 4000);
  st.print.scaleOption = ScaleOption::TrueSize;
  doc.loadViewWidth = 400;
  doc.loadViewHeight = 300;
  dev.SetDeviceCaps(gdi::kCapLogPixelsX, 600);
  // A = 11811.02, B = 5905.51; o = max(A/1000, B/1000) = 11.81102
  SetupMapping(dev, st, 4799, 6599, 0, 0, 1000, 1000, 1, 1);
  EXPECT_EQ(dev.Count("LineTo 4725 3544"), 1u);  // 400o + 1.5, 300o + 1.5
  EXPECT_EQ(dev.Count("SetViewportExt 11811 5905"), 1u);
}

}  // namespace
}  // namespace quillon
