// Plots from a hosted control onto a real Wine PostScript printer, measured on ghostscript's
// picture of the page: true size is true size on paper.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/kpz_builder.h"
#include "tests/win32/control_host.h"
#include "tests/win32/postscript_test_printer.h"
// <windows.h> first, then the imaging component.
#include "tests/win32/support/png_picture.h"
#include "tests/win32/temp_folder.h"

namespace quillon::control_test {
namespace {

constexpr int kDpi = 100;  // of the picture of the page

// The longest run of red pixels on any row (or column) of the picture, in pixels.
int LongestRedRun(const test::Picture& page, bool columns = false) {
  const int lines = static_cast<int>(columns ? page.width : page.height);
  const int length = static_cast<int>(columns ? page.height : page.width);
  int longest = 0;
  for (int i = 0; i < lines; ++i) {
    int run = 0;
    for (int j = 0; j < length; ++j) {
      const std::uint32_t p = columns ? page.At(i, j) : page.At(j, i);
      const bool red = ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80;
      run = red ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  return longest;
}

class ControlPlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterControl(), S_OK);
    ASSERT_TRUE(printer.Install()) << printer.error();
    ASSERT_TRUE(::SetDefaultPrinterA(printer.name().c_str()));
    // A line 160 mm long on a page of 0.2 x 0.1 m, one dot (1 mm) wide.
    KpzBuilder b;
    b.PageSize(0.2, 0.1, 1000);
    b.BeginPage().LineWidth(1).LineColour(KpzBuilder::Rgb(255, 0, 0));
    b.Polyline({{20, 50}, {180, 50}}).EndPage();
    plot = folder.Write("plan.kpz", b.Build());
    ASSERT_FALSE(plot.empty());
    host = std::make_unique<HostedControl>(400, 318);
    ASSERT_TRUE(host->ok());
    UniqueBstr name(std::wstring(plot.begin(), plot.end()));
    ASSERT_EQ(host->ctl->put_DataFileName(name.get()), S_OK);
    ASSERT_EQ(host->ctl->put_Rot(0), S_OK);  // the line runs across the paper
    host->Pump();
    ASSERT_EQ(host->ctl->put_PlotSilent(1), S_OK);
  }
  void TearDown() override {
    host.reset();
    EXPECT_EQ(RegisterControl(), S_OK);
  }

  // The length of the printed line in millimetres.
  double PrintedLineMm() {
    test::Picture page;
    if (!test::ReadPng(printer.pictureFile(), page)) {
      ADD_FAILURE() << "no picture of the page at " << printer.pictureFile();
      return 0;
    }
    return LongestRedRun(page) * 25.4 / kDpi;
  }

  test::TempFolder folder;
  test::PostScriptTestPrinter printer{folder.path(), kDpi};
  std::string plot;
  std::unique_ptr<HostedControl> host;
};

TEST_F(ControlPlotTest, ScaleOptionsSizeThePrintedPlot) {
  struct Case {
    const char* name;
    LONG option;
    double percentage;
    double lineMm;
  };
  // Fit: the 200 mm page across the printable width of a Letter or A4 sheet (at least 190 mm).
  const Case cases[] = {
      {"true size", 2, 100, 160},
      {"half size", 4, 50, 80},
      {"fit", 1, 100, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(host->ctl->put_PrintScaleOptions(c.option), S_OK);
    ASSERT_EQ(host->ctl->put_PrintScalePercentage(c.percentage), S_OK);
    ::DeleteFileA(printer.pictureFile().c_str());
    ASSERT_EQ(host->ctl->Plot(0), S_OK);
    const double printed = PrintedLineMm();
    if (c.lineMm > 0) {
      EXPECT_NEAR(printed, c.lineMm, 1.5);
    } else {
      EXPECT_GT(printed, 160 * 0.9);  // enlarged to the sheet's width
    }
  }
}

TEST_F(ControlPlotTest, PrinterPropertiesNameAndTurnTheDefaultPrinter) {
  UniqueBstr name;
  ASSERT_EQ(host->ctl->get_PrinterName(name.put()), S_OK);
  ASSERT_NE(name.get(), nullptr);
  EXPECT_EQ(std::wstring(name.get()), std::wstring(printer.name().begin(), printer.name().end()));
  short orientation = 0;
  ASSERT_EQ(host->ctl->get_Portrait_Landscape(&orientation), S_OK);
  EXPECT_EQ(orientation, 1);
  ASSERT_EQ(host->ctl->put_Portrait_Landscape(2), S_OK);
  ASSERT_EQ(host->ctl->get_Portrait_Landscape(&orientation), S_OK);
  EXPECT_EQ(orientation, 2);
  // Landscape: the PostScript page is turned, so on the upright picture of the sheet the
  // line runs down the paper, still at true size.
  ASSERT_EQ(host->ctl->put_PrintScaleOptions(2), S_OK);
  ASSERT_EQ(host->ctl->Plot(0), S_OK);
  test::Picture page;
  ASSERT_TRUE(test::ReadPng(printer.pictureFile(), page));
  EXPECT_NEAR(LongestRedRun(page, true) * 25.4 / kDpi, 160, 1.5);
  EXPECT_LT(LongestRedRun(page) * 25.4 / kDpi, 5);
}

}  // namespace
}  // namespace quillon::control_test
