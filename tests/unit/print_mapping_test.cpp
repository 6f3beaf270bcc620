// Print draws map the page from what the printer reports: its printable area (HORZRES and
// VERTRES less one), its pixels per inch, and the view of the screen at load.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/interpreter_fixture.h"

namespace quillon::test {
namespace {

// The generic A4 PostScript printer at 300 dpi.
class PrintMappingTest : public InterpreterTest {
 protected:
  void SetUp() override {
    dev.SetDeviceCaps(gdi::kCapHorzRes, 2329);
    dev.SetDeviceCaps(gdi::kCapVertRes, 3358);
    dev.SetDeviceCaps(gdi::kCapLogPixelsX, 300);
    dev.SetDeviceCaps(gdi::kCapLogPixelsY, 300);
    dev.SetPostScript(true);
  }
  // A page of the given metres at 1000 dots per metre with one line on it, opened for a
  // screen of 800 x 600.
  void OpenPage(double width, double height) {
    KpzBuilder b;
    b.PageSize(width, height, 1000);
    b.BeginPage().Polyline({{0, 0}, {10, 10}}).EndPage();
    Open(b);
  }
  void Print(int option, int plotType, double viewWidth, double viewHeight, double originX,
             double originY, double percent = 100) {
    ctx.ResetDrawState();
    st->print.scaleOption = static_cast<ScaleOption>(option);
    st->print.scalePercent = percent;
    st->target = &dev;
    ctx.DrawDocument(nullptr, 1, viewWidth, viewHeight, originX, originY, "plot.kpz", plotType);
  }
  // The mapping calls between the start of the page and the first pen.
  std::vector<std::string> Mapping() const {
    std::vector<std::string> found;
    bool on = false;
    for (const auto& line : dev.lines()) {
      if (line == "StartPage") {
        on = true;
        continue;
      }
      if (!on || line.rfind("GetDeviceCaps", 0) == 0) continue;
      if (line.rfind("SetROP2", 0) == 0 || line.rfind("ExtCreatePen", 0) == 0) break;
      found.push_back(line);
    }
    return found;
  }
};

TEST_F(PrintMappingTest, FitTurnsTheWindowWithTheViewIntoThePrintableArea) {
  OpenPage(2.0, 1.0);
  st->rotation = 270;
  Print(-1, 0, 800, 600, 0, 0);
  EXPECT_EQ(Mapping(),
            (std::vector<std::string>{"SetMapMode 7", "SetWindowExt 1000 2000",
                                      "SetViewportExt 2328 3357", "SetViewportOrg 0 0"}));
  // The page's points are turned by the point reader, not by the mapping.
  EXPECT_EQ(dev.Count("Polyline 2 (0,2000) (10,1990)"), 1u);
}

TEST_F(PrintMappingTest, TrueSizeAndPercentageFollowThePrintersPixelsPerInch) {
  OpenPage(0.5, 0.25);
  Print(2, 0, 800, 600, 40, 30);
  // 300 x 39.37007874015748 x 0.5 = 5905.5 pixels; x 0.25 = 2952.75.
  EXPECT_EQ(Mapping(),
            (std::vector<std::string>{"SetMapMode 7", "SetWindowExt 500 250",
                                      "SetViewportExt 5905 2952", "SetViewportOrg 40 30"}));
  dev.Clear();
  Print(4, 0, 800, 600, 40, 30, 25);
  EXPECT_EQ(dev.Count("SetViewportExt 1476 738"), 1u);
  EXPECT_EQ(dev.Count("SetViewportOrg 40 30"), 1u);
}

TEST_F(PrintMappingTest, CurrentViewIsScaledFromTheScreenAtLoadAndClipped) {
  OpenPage(2.0, 1.0);
  ASSERT_EQ(doc->loadViewWidth, 800);
  ASSERT_EQ(doc->loadViewHeight, 600);
  dev.SetDeviceCaps(gdi::kCapHorzRes, 2401);
  // o = min(2400 / 800, 3357 / 600) = 3: the view of 1600 x 800 at (-100, 50.5) grows to
  // 4800 x 2400 at (-300, 151.5); the clip is the screen's 800 x 600 times o, plus 1.5.
  Print(1, 1, 1600, 800, -100, 50.5);
  EXPECT_EQ(Mapping(),
            (std::vector<std::string>{"BeginPath", "MoveTo 0 0", "LineTo 0 1801",
                                      "LineTo 2401 1801", "LineTo 2401 0", "LineTo 0 0", "EndPath",
                                      "SelectClipPath 5", "SetMapMode 7", "SetWindowExt 2000 1000",
                                      "SetViewportExt 4800 2400", "SetViewportOrg -300 151"}));
}

TEST_F(PrintMappingTest, FormPlotIsTrueSizeAtItsOriginWithoutClip) {
  OpenPage(0.5, 0.25);
  Print(4, 2, 800, 600, 200, 100, 50);
  EXPECT_EQ(Mapping(),
            (std::vector<std::string>{"SetMapMode 7", "SetWindowExt 500 250",
                                      "SetViewportExt 2952 1476", "SetViewportOrg 100 50"}));
}

}  // namespace
}  // namespace quillon::test
