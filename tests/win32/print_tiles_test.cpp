// A pattern fill printed on a real Wine PostScript printer: the tiles land inside the
// polygon and nowhere else on ghostscript's picture of the page.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "document/win32/win32_document_platform.h"
#include "render/draw_context.h"
#include "render/win32/gdi_device.h"
#include "tests/support/kpz_builder.h"
#include "tests/win32/postscript_test_printer.h"
// <windows.h> after the interpreter's headers, which use GDI's names.
#include "tests/win32/support/png_picture.h"
#include "tests/win32/temp_folder.h"

namespace quillon {
namespace {

using test::Picture;
using test::ReadPng;

constexpr std::uint32_t kWhitePixel = 0xFFFFFF, kBlackPixel = 0x000000, kGreenPixel = 0x00FF00;

class PrintTilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { ::CoUninitialize(); }
};

TEST_F(PrintTilesTest, PatternTilesFillThePolygonOnlyOnAPostScriptPage) {
  test::TempFolder folder;
  test::PostScriptTestPrinter printer(folder.path(), 100);
  ASSERT_TRUE(printer.Install()) << printer.error();

  // A triangle on a page of 200 x 200 dots, filled with stripes two dots wide.
  KpzPattern stripes;
  stripes.id = 7;
  stripes.width = 4;
  stripes.rows = 4;
  stripes.bytesPerRow = 4;
  stripes.format = 0x8010;
  stripes.colours = {0, 0};
  stripes.pixels = {0xC0, 0, 0, 0, 0xC0, 0, 0, 0, 0xC0, 0, 0, 0, 0xC0, 0, 0, 0};
  KpzBuilder b;
  b.PageSize(0.2, 0.2, 1000)
      .PatternTableDeclaration(1)
      .BeginPage()
      .PatternDefinition(stripes)
      .FillStyle(7)
      .PatternFore(1, KpzBuilder::Rgb(0, 0, 0))
      .PatternBack(1, KpzBuilder::Rgb(0, 255, 0))
      .PolygonSet(2, {{{20, 20}, {180, 20}, {20, 180}, {20, 20}}})
      .EndPage();
  const std::string file = folder.Write("tiles.kpz", b.Build());
  ASSERT_FALSE(file.empty());

  Win32DocumentPlatform platform([](const std::string&) {});
  DrawContext context(platform, 0, 0);
  ASSERT_EQ(context.OpenDocument(file, 200, 200), 0);
  HDC dc = ::CreateDCA(nullptr, printer.name().c_str(), nullptr, nullptr);
  ASSERT_NE(dc, nullptr) << "no DC for " << printer.name() << ", error " << ::GetLastError();
  const int width = ::GetDeviceCaps(dc, HORZRES), height = ::GetDeviceCaps(dc, VERTRES);
  GdiDevice device(dc);
  bool released = false;
  context.SetPrintDeviceRelease([&](Device&) {
    ::DeleteDC(dc);
    released = true;
  });
  context.DrawPrint(device, {200, 200, 0, 0}, file);
  EXPECT_TRUE(released);
  context.CloseDocument();

  // QUILLON_KEEP_PRINT names a file to keep the picture in, for a person to look at.
  if (const char* keep = std::getenv("QUILLON_KEEP_PRINT"))
    ::CopyFileA(printer.pictureFile().c_str(), keep, FALSE);
  Picture page;
  ASSERT_TRUE(ReadPng(printer.pictureFile(), page)) << "no picture of " << printer.pictureFile();
  // Fit to the printable area: one dot is s device pixels; device pixel p lands at
  // (p + 75) * dpi / 300 on the picture.
  const double s = std::min((width - 1) / 200.0, (height - 1) / 200.0);
  auto at = [&](double dotX, double dotY) {
    return page.At(static_cast<int>((dotX * s + 75) * printer.dpi() / 300),
                   static_cast<int>((dotY * s + 75) * printer.dpi() / 300));
  };
  int black = 0, green = 0, other = 0, stray = 0, changes = 0;
  for (double y = 30; y < 70; y += 0.5) {
    std::uint32_t last = at(30, y);
    for (double x = 30; x < 70; x += 0.5) {  // well inside the triangle
      const std::uint32_t p = at(x, y);
      black += p == kBlackPixel;
      green += p == kGreenPixel;
      other += p != kBlackPixel && p != kGreenPixel;
      changes += p != last;
      last = p;
    }
  }
  for (double y = 0; y < 200; y += 0.5)
    for (double x = 0; x < 200; x += 0.5) {
      if (x + y < 205 && x > 15 && y > 15) continue;  // the triangle and its edge
      stray += at(x, y) != kWhitePixel;
    }
  EXPECT_EQ(other, 0);
  EXPECT_GT(black, 2000);
  EXPECT_GT(green, 2000);
  // Stripes two dots wide: a row of 40 dots crosses about 20 edges.
  EXPECT_GT(changes, 80 * 15);
  EXPECT_EQ(stray, 0);
}

}  // namespace
}  // namespace quillon
