// GdiDevice on a real memory DC: what the calls draw, and that results are GDI's own.

#include "render/win32/gdi_device.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstring>
#include <vector>

#include "base/win32/memory_dc.h"

namespace quillon {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class GdiDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(surface.valid()); }
  int CountColour(COLORREF colour, int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += surface.PixelColour(x, y) == colour;
    return n;
  }
  MemoryDc surface{100, 100};
  GdiDevice device{surface.dc()};
};

TEST_F(GdiDeviceTest, PolylineWithAPenSetsPixelsOnTheLineOnly) {
  const ObjectId pen = device.CreatePen(PS_SOLID, 3, kRed);
  ASSERT_NE(pen, kNoObject);
  const ObjectId before = device.SelectObject(pen);
  EXPECT_EQ(before, device.GetStockObject(BLACK_PEN));  // a fresh DC holds the black pen
  const std::array<DevicePoint, 3> points = {{{10, 50}, {90, 50}, {90, 90}}};
  ASSERT_TRUE(device.Polyline(points));
  EXPECT_EQ(surface.PixelColour(50, 50), kRed);
  EXPECT_EQ(surface.PixelColour(50, 49), kRed);  // 3 px wide
  EXPECT_EQ(surface.PixelColour(90, 70), kRed);
  EXPECT_EQ(surface.PixelColour(50, 40), kWhite);
  EXPECT_EQ(surface.PixelColour(50, 60), kWhite);
  EXPECT_EQ(device.SelectObject(before), pen);
  EXPECT_TRUE(device.DeleteObject(pen));
  EXPECT_FALSE(device.DeleteObject(pen));  // gone: GDI says so
}

TEST_F(GdiDeviceTest, MoveToLineToAndRop2) {
  EXPECT_EQ(device.SetROP2(R2_NOT), R2_COPYPEN);
  device.MoveTo(0, 20);
  device.LineTo(100, 20);
  EXPECT_EQ(surface.PixelColour(30, 20), RGB(0, 0, 0));  // white inverted
  EXPECT_EQ(device.SetROP2(R2_COPYPEN), R2_NOT);
}

TEST_F(GdiDeviceTest, IsotropicMappingScalesWhatIsDrawn) {
  EXPECT_EQ(device.SetMapMode(MM_ISOTROPIC), MM_TEXT);
  EXPECT_TRUE(device.SetWindowExt(1000, 1000));
  EXPECT_TRUE(device.SetViewportExt(50, 50));
  EXPECT_TRUE(device.SetViewportOrg(10, 10));
  const ObjectId brush = device.CreateSolidBrush(kBlue);
  const ObjectId oldBrush = device.SelectObject(brush);
  device.SelectObject(device.GetStockObject(NULL_PEN));
  ASSERT_TRUE(device.Rectangle(0, 0, 1000, 1000));  // lands on 10..60 device pixels
  EXPECT_EQ(surface.PixelColour(30, 30), kBlue);
  EXPECT_EQ(surface.PixelColour(5, 5), kWhite);
  EXPECT_EQ(surface.PixelColour(70, 70), kWhite);
  EXPECT_EQ(device.SetMapMode(MM_TEXT), MM_ISOTROPIC);
  device.SelectObject(oldBrush);
  device.DeleteObject(brush);
}

TEST_F(GdiDeviceTest, UserDashedGeometricPenLeavesGaps) {
  const BrushDesc solid{BS_SOLID, kRed, 0};
  const std::array<std::uint32_t, 2> dashes = {6, 6};
  const ObjectId pen =
      device.ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 1, solid, dashes);
  ASSERT_NE(pen, kNoObject);
  const ObjectId old = device.SelectObject(pen);
  const std::array<DevicePoint, 2> line = {{{0, 30}, {96, 30}}};
  device.Polyline(line);
  const int red = CountColour(kRed, 0, 30, 96, 31);
  EXPECT_GT(red, 30);
  EXPECT_LT(red, 66);
  device.SelectObject(old);
  device.DeleteObject(pen);
}

TEST_F(GdiDeviceTest, PolygonPolyPolygonAndBezierFill) {
  device.SelectObject(device.GetStockObject(NULL_PEN));
  const ObjectId brush = device.CreateSolidBrush(kRed);
  device.SelectObject(brush);
  const std::array<DevicePoint, 3> triangle = {{{0, 0}, {40, 0}, {0, 40}}};
  ASSERT_TRUE(device.Polygon(triangle));
  EXPECT_EQ(surface.PixelColour(5, 5), kRed);
  EXPECT_EQ(surface.PixelColour(35, 35), kWhite);

  // Two squares, the second inside the first: alternate fill leaves a hole.
  const std::array<DevicePoint, 8> rings = {
      {{50, 50}, {90, 50}, {90, 90}, {50, 90}, {60, 60}, {80, 60}, {80, 80}, {60, 80}}};
  const std::array<std::int32_t, 2> counts = {4, 4};
  ASSERT_TRUE(device.PolyPolygon(rings, counts));
  EXPECT_EQ(surface.PixelColour(55, 55), kRed);
  EXPECT_EQ(surface.PixelColour(70, 70), kWhite);

  const ObjectId pen = device.CreatePen(PS_SOLID, 1, kBlue);
  device.SelectObject(pen);
  const std::array<DevicePoint, 4> bezier = {{{5, 95}, {30, 60}, {60, 60}, {95, 95}}};
  ASSERT_TRUE(device.PolyBezier(bezier));
  EXPECT_GT(CountColour(kBlue, 0, 60, 100, 100), 60);
  device.SelectObject(device.GetStockObject(BLACK_PEN));
  device.SelectObject(device.GetStockObject(WHITE_BRUSH));
  device.DeleteObject(pen);
  device.DeleteObject(brush);
}

TEST_F(GdiDeviceTest, HatchAndDibPatternBrushes) {
  device.SelectObject(device.GetStockObject(NULL_PEN));
  const ObjectId hatch = device.CreateHatchBrush(HS_CROSS, kBlue);
  device.SelectObject(hatch);
  device.Rectangle(0, 0, 50, 50);
  const int hatched = CountColour(kBlue, 0, 0, 49, 49);
  EXPECT_GT(hatched, 49 * 49 / 10);
  EXPECT_LT(hatched, 49 * 49 / 2);

  // 8x8 one-bit pattern, left half set: colour 1 red, colour 0 white.
  std::vector<std::uint8_t> packed(sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD) + 8 * 4);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = 8;
  header.biHeight = 8;
  header.biPlanes = 1;
  header.biBitCount = 1;
  std::memcpy(packed.data(), &header, sizeof header);
  const RGBQUAD colours[2] = {{255, 255, 255, 0}, {0, 0, 255, 0}};
  std::memcpy(packed.data() + sizeof header, colours, sizeof colours);
  for (int row = 0; row < 8; ++row) packed[sizeof header + sizeof colours + row * 4] = 0xF0;
  const ObjectId pattern = device.CreateDibPatternBrush({packed, {}});
  ASSERT_NE(pattern, kNoObject);
  device.SelectObject(pattern);
  device.Rectangle(50, 50, 100, 100);
  EXPECT_EQ(surface.PixelColour(56, 60), kRed);
  EXPECT_EQ(surface.PixelColour(60, 60), kWhite);
  EXPECT_EQ(device.CreateDibPatternBrush({std::span(packed).first(10), {}}), kNoObject);
  device.SelectObject(device.GetStockObject(WHITE_BRUSH));
  device.DeleteObject(hatch);
  device.DeleteObject(pattern);
}

TEST_F(GdiDeviceTest, StretchDibitsScalesTheImage) {
  // 2x2, 24 bits, bottom-up rows padded to 4 bytes: red, blue on the top row; blue, red below.
  std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = 2;
  header.biHeight = 2;
  header.biPlanes = 1;
  header.biBitCount = 24;
  std::memcpy(info.data(), &header, sizeof header);
  const std::vector<std::uint8_t> bits = {255, 0, 0,   0,   0, 255, 0, 0,   // bottom: blue, red
                                          0,   0, 255, 255, 0, 0,   0, 0};  // top: red, blue
  EXPECT_EQ(device.SetStretchBltMode(COLORONCOLOR), BLACKONWHITE);
  EXPECT_EQ(device.StretchDIBits(0, 0, 40, 40, 0, 0, 2, 2, {info, bits}, SRCCOPY), 2);
  EXPECT_EQ(surface.PixelColour(10, 10), kRed);
  EXPECT_EQ(surface.PixelColour(30, 10), kBlue);
  EXPECT_EQ(surface.PixelColour(10, 30), kBlue);
  EXPECT_EQ(surface.PixelColour(50, 50), kWhite);
}

TEST_F(GdiDeviceTest, ClipPathLimitsDrawingUntilCleared) {
  DeviceRect box{};
  EXPECT_EQ(device.GetClipBox(box), SIMPLEREGION);
  EXPECT_EQ(box.right, 100);
  const int saved = device.SaveDC();
  ASSERT_NE(saved, 0);
  ASSERT_TRUE(device.BeginPath());
  device.Rectangle(10, 10, 30, 30);
  ASSERT_TRUE(device.EndPath());
  ASSERT_TRUE(device.SelectClipPath(RGN_COPY));
  EXPECT_EQ(device.GetClipBox(box), SIMPLEREGION);
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 10);
  EXPECT_FALSE(device.RectVisible({50, 50, 60, 60}));
  EXPECT_TRUE(device.RectVisible({0, 0, 15, 15}));
  const ObjectId brush = device.CreateSolidBrush(kRed);
  device.SelectObject(brush);
  device.Rectangle(0, 0, 100, 100);
  EXPECT_EQ(surface.PixelColour(20, 20), kRed);
  EXPECT_EQ(surface.PixelColour(50, 50), kWhite);
  ASSERT_TRUE(device.SelectClipRgnNone());
  EXPECT_TRUE(device.RectVisible({50, 50, 60, 60}));
  ASSERT_TRUE(device.RestoreDC(saved));
  device.DeleteObject(brush);  // no longer selected after the restore
}

TEST_F(GdiDeviceTest, QueriesAnswerWhatGdiAnswers) {
  EXPECT_EQ(device.GetBkColor(), kWhite);
  EXPECT_EQ(device.GetDeviceCaps(LOGPIXELSX), ::GetDeviceCaps(surface.dc(), LOGPIXELSX));
  EXPECT_GT(device.GetDeviceCaps(LOGPIXELSX), 0);
  EXPECT_EQ(device.QueryEscapeSupport(POSTSCRIPT_PASSTHROUGH), 0);  // not a printer
  EXPECT_EQ(device.SetGraphicsMode(GM_ADVANCED), GM_COMPATIBLE);
  EXPECT_TRUE(device.SetMiterLimit(4.0f));
  EXPECT_LE(device.StartDocument("plan.kpz"), 0);  // a memory DC cannot print
}

}  // namespace
}  // namespace quillon
