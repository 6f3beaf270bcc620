// FastLineDevice on real DCs under GDI: thin solid lines written into a DIB section must give
// the pixels of GDI's own cosmetic one-pixel pen, in order with what GDI draws around them;
// other DCs and other pens keep GDI's drawing.

#include "render/win32/fast_line_device.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "base/win32/memory_dc.h"
#include "base/win32/unique_handle.h"
#include "render/win32/dc_mapping.h"
#include "render/win32/gdi_device.h"

namespace quillon {
namespace {

constexpr COLORREF kRed = RGB(220, 20, 30);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr int kW = 64, kH = 48;

struct Mapping {
  const char* name;
  bool isotropic;
  SIZE window, viewport;
  POINT origin;
};
// Identity; the control's fit of an A0 sheet; that sheet zoomed eight times with the view
// in its middle; an enlargement.
const Mapping kMappings[] = {
    {"identity", false, {1, 1}, {1, 1}, {0, 0}},
    {"fit", true, {18724, 13244}, {kW, kH}, {0, 0}},
    {"zoom 8", true, {18724, 13244}, {8 * kW, 8 * kH}, {-200, -150}},
    {"odd scale", true, {1000, 700}, {373, 300}, {-17, 9}},
    {"enlarged", true, {100, 100}, {300, 300}, {-5, 3}},
};

void Apply(HDC dc, const Mapping& m) {
  if (!m.isotropic) return;
  ::SetGraphicsMode(dc, GM_ADVANCED);
  ::SetMapMode(dc, MM_ISOTROPIC);
  ::SetWindowExtEx(dc, m.window.cx, m.window.cy, nullptr);
  ::SetViewportExtEx(dc, m.viewport.cx, m.viewport.cy, nullptr);
  ::SetViewportOrgEx(dc, m.origin.x, m.origin.y, nullptr);
}

// The logical size of one device pixel under a mapping, rounded up.
int LogicalPixel(const Mapping& m) {
  if (!m.isotropic) return 1;
  const double scale =
      std::min(double(m.viewport.cx) / m.window.cx, double(m.viewport.cy) / m.window.cy);
  return std::max(1, int(1.0 / scale));
}

// A thin geometric pen as the interpreter makes it: solid, round ends, `width` logical units.
ObjectId ThinPen(Device& device, COLORREF colour, std::uint32_t width, std::uint32_t style = 0) {
  return device.ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_ROUND | PS_JOIN_ROUND | style, width,
                             BrushDesc{BS_SOLID, colour, 0}, {});
}

// First pixel where two pictures differ, or "".
std::string Difference(const MemoryDc& a, const MemoryDc& b) {
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) {
        char text[96];
        std::snprintf(text, sizeof text, "(%d,%d): %06X instead of %06X", x, y, a.Pixel(x, y),
                      b.Pixel(x, y));
        return text;
      }
  return "";
}

// The same polylines through FastLineDevice with the thin geometric pen and through plain GDI
// with a cosmetic pen: GDI's picture is the reference.
class FastLineMatchTest : public ::testing::Test {
 protected:
  void Draw(const Mapping& m, const std::vector<std::vector<DevicePoint>>& lines,
            void (*clip)(HDC) = nullptr, int penWidth = -1) {
    fast.Fill(RGB(255, 255, 255));
    cosmetic.Fill(RGB(255, 255, 255));
    for (HDC dc : {fast.dc(), cosmetic.dc()}) {
      Apply(dc, m);
      if (clip) clip(dc);
    }
    {
      GdiDevice gdi(fast.dc());
      FastLineDevice device(gdi);
      const int width = penWidth >= 0 ? penWidth : m.isotropic ? LogicalPixel(m) / 2 : 1;
      const ObjectId pen = ThinPen(device, kRed, static_cast<std::uint32_t>(width));
      const ObjectId old = device.SelectObject(pen);
      for (const auto& line : lines) device.Polyline(line);
      device.SelectObject(old);
      device.DeleteObject(pen);
    }
    UniquePen pen(::CreatePen(PS_SOLID, 0, kRed));
    HGDIOBJ old = ::SelectObject(cosmetic.dc(), pen.get());
    for (const auto& line : lines)
      ::Polyline(cosmetic.dc(), reinterpret_cast<const POINT*>(line.data()), int(line.size()));
    ::SelectObject(cosmetic.dc(), old);
    for (HDC dc : {fast.dc(), cosmetic.dc()}) {
      ::SelectClipRgn(dc, nullptr);
      ::SetMapMode(dc, MM_TEXT);
      ::SetViewportOrgEx(dc, 0, 0, nullptr);
    }
  }
  MemoryDc fast{kW, kH}, cosmetic{kW, kH};
};

TEST_F(FastLineMatchTest, ChosenLinesMatchGdisCosmeticPenPixelForPixel) {
  // In device pixels: every octant with exact halves, edges and corners crossed, ends on and
  // beyond the edges, zero-length and one-pixel lines.
  const std::vector<DevicePoint> cases[] = {
      {{20, 20}, {30, 25}},
      {{20, 20}, {25, 30}},
      {{20, 20}, {15, 30}},
      {{20, 20}, {10, 25}},
      {{20, 20}, {10, 15}},
      {{20, 20}, {15, 10}},
      {{20, 20}, {25, 10}},
      {{20, 20}, {30, 15}},
      {{20, 20}, {22, 21}},
      {{20, 20}, {21, 22}},
      {{20, 20}, {18, 21}},
      {{20, 20}, {19, 22}},
      {{20, 20}, {18, 19}},
      {{20, 20}, {19, 18}},
      {{20, 20}, {22, 19}},
      {{20, 20}, {21, 18}},
      {{20, 20}, {30, 30}},
      {{20, 20}, {10, 10}},
      {{20, 20}, {20, 20}},
      {{20, 20}, {21, 20}},
      {{20, 20}, {19, 20}},
      {{20, 20}, {20, 21}},
      {{20, 20}, {20, 19}},
      {{20, 20}, {21, 21}},
      {{-10, -7}, {80, 60}},
      {{-30, 5}, {100, 40}},
      {{5, -30}, {40, 100}},
      {{70, -5}, {-6, 52}},
      {{0, 0}, {kW, kH}},
      {{kW - 1, 0}, {-1, kH}},
      {{0, 47}, {63, 47}},
      {{63, 0}, {63, 47}},
      {{-1, -1}, {kW, -1}},
      {{-5, 10}, {0, 10}},
      {{kW, 10}, {kW - 3, 10}},
      {{10, 10}, {50, 10}, {50, 40}, {10, 10}},
      {{-1000, 24}, {1000, 25}},
      {{3, 1000000}, {4, -1000000}},
      {{-2000000000, 10}, {2000000000, 30}},
  };
  for (const auto& lines : cases) {
    Draw(kMappings[0], {lines});
    const std::string diff = Difference(fast, cosmetic);
    EXPECT_EQ(diff, "") << "line from " << lines[0].x << "," << lines[0].y << " to "
                        << lines.back().x << "," << lines.back().y;
  }
}

TEST_F(FastLineMatchTest, RandomPolylinesMatchUnderEveryMapping) {
  std::mt19937 random(11);
  for (const Mapping& m : kMappings) {
    // Logical coordinates that reach a little beyond the view on every side.
    const int unit = LogicalPixel(m);
    std::uniform_int_distribution<int> x((-10 - m.origin.x) * unit, (kW + 10 - m.origin.x) * unit);
    std::uniform_int_distribution<int> y((-10 - m.origin.y) * unit, (kH + 10 - m.origin.y) * unit);
    for (int trial = 0; trial < 40; ++trial) {
      std::vector<std::vector<DevicePoint>> lines;
      for (int n = 0; n < 6; ++n) {
        std::vector<DevicePoint> line;
        for (int k = 0; k < 5; ++k) line.push_back({x(random), y(random)});
        lines.push_back(line);
      }
      Draw(m, lines);
      const std::string diff = Difference(fast, cosmetic);
      ASSERT_EQ(diff, "") << m.name << " trial " << trial;
    }
  }
}

TEST_F(FastLineMatchTest, PensGdiRoundsToOnePixelAreThin) {
  // At 0.373 pixels per unit, widths 3 and 4 make 1.12 and 1.49 pixels: GDI draws both one
  // pixel wide, so they take the fast path and must match the cosmetic pen.
  std::vector<std::vector<DevicePoint>> lines;
  for (int i = 0; i < 10; ++i)
    lines.push_back({{-40 + 30 * i, -30}, {200 - 17 * i, 150}, {9 * i, 60}});
  for (int width : {3, 4}) {
    Draw(kMappings[3], lines, nullptr, width);
    EXPECT_EQ(Difference(fast, cosmetic), "") << "width " << width;
  }
  // Width 5 makes 1.87 pixels: two wide, GDI's own.
  Draw(kMappings[3], lines, nullptr, 5);
  EXPECT_NE(Difference(fast, cosmetic), "");
}

TEST_F(FastLineMatchTest, ClipRectanglesAndRegionsMatch) {
  std::vector<std::vector<DevicePoint>> lines;
  for (int i = 0; i < 12; ++i) lines.push_back({{-5 + 7 * i, -3}, {70 - 5 * i, 50}, {i, 20 + i}});
  Draw(kMappings[0], lines, [](HDC dc) { ::IntersectClipRect(dc, 9, 7, 41, 30); });
  EXPECT_EQ(Difference(fast, cosmetic), "") << "rectangle";
  EXPECT_EQ(fast.PixelColour(5, 5), RGB(255, 255, 255));
  // Two rectangles: not one rectangle, so the lines go to GDI's cosmetic pen.
  Draw(kMappings[0], lines, [](HDC dc) {
    UniqueGdiHandle<HRGN> a(::CreateRectRgn(2, 2, 20, 20)), b(::CreateRectRgn(30, 25, 60, 45));
    ::CombineRgn(a.get(), a.get(), b.get(), RGN_OR);
    ::SelectClipRgn(dc, a.get());
  });
  EXPECT_EQ(Difference(fast, cosmetic), "") << "region";
  Draw(kMappings[3], lines, [](HDC dc) { ::IntersectClipRect(dc, 0, 0, 0, 0); });
  EXPECT_EQ(Difference(fast, cosmetic), "") << "empty clip";
}

TEST(FastLineDevice, LinesLieBetweenTheFillsDrawnBeforeAndAfterThem) {
  MemoryDc surface(kW, kH);
  GdiDevice gdi(surface.dc());
  FastLineDevice device(gdi);
  const ObjectId blue = device.CreateSolidBrush(kBlue);
  const ObjectId green = device.CreateSolidBrush(kGreen);
  const ObjectId pen = ThinPen(device, kRed, 1);
  const ObjectId oldBrush = device.SelectObject(blue);
  const ObjectId oldPen = device.SelectObject(device.GetStockObject(NULL_PEN));
  device.Rectangle(0, 0, 40, 40);  // under the line
  device.SelectObject(pen);
  const DevicePoint line[] = {{5, 20}, {60, 20}};
  device.Polyline(line);
  device.SelectObject(device.GetStockObject(NULL_PEN));
  device.SelectObject(green);
  device.Rectangle(30, 10, 50, 30);  // over it
  device.SelectObject(pen);
  device.Polyline(std::span<const DevicePoint>(line).first(2));  // and the line again over that
  device.SelectObject(device.GetStockObject(NULL_PEN));
  device.Rectangle(52, 15, 58, 25);  // over the line's end
  device.SelectObject(oldPen);
  device.SelectObject(oldBrush);
  device.DeleteObject(pen);
  device.DeleteObject(blue);
  device.DeleteObject(green);
  EXPECT_EQ(surface.PixelColour(10, 20), kRed);
  EXPECT_EQ(surface.PixelColour(10, 21), kBlue);
  EXPECT_EQ(surface.PixelColour(35, 20), kRed);  // the second line over the green
  EXPECT_EQ(surface.PixelColour(35, 22), kGreen);
  EXPECT_EQ(surface.PixelColour(54, 20), kGreen);  // the last fill over the line
  EXPECT_EQ(surface.PixelColour(59, 20), kRed);
  EXPECT_EQ(surface.PixelColour(60, 20), RGB(255, 255, 255));  // the end is left out
}

TEST(FastLineDevice, ABitmapThatIsNoDibSectionGetsGdisCosmeticLines) {
  WindowDc screen(nullptr);
  MemoryDc ddb = MemoryDc::Compatible(screen.get(), kW, kH);
  ASSERT_TRUE(ddb.valid());
  MemoryDc reference(kW, kH), seen(kW, kH);
  ::PatBlt(ddb.dc(), 0, 0, kW, kH, WHITENESS);
  const std::vector<DevicePoint> lines[] = {{{-4, 3}, {70, 40}, {10, 45}}, {{30, 0}, {31, 47}}};
  {
    GdiDevice gdi(ddb.dc());
    FastLineDevice device(gdi);
    const ObjectId pen = ThinPen(device, kRed, 1);
    const ObjectId old = device.SelectObject(pen);
    for (const auto& line : lines) device.Polyline(line);
    device.SelectObject(old);
    device.DeleteObject(pen);
  }
  ::BitBlt(seen.dc(), 0, 0, kW, kH, ddb.dc(), 0, 0, SRCCOPY);
  UniquePen pen(::CreatePen(PS_SOLID, 0, kRed));
  HGDIOBJ old = ::SelectObject(reference.dc(), pen.get());
  for (const auto& line : lines)
    ::Polyline(reference.dc(), reinterpret_cast<const POINT*>(line.data()), int(line.size()));
  ::SelectObject(reference.dc(), old);
  EXPECT_EQ(Difference(seen, reference), "");
  EXPECT_EQ(seen.PixelColour(30, 20), kRed);
}

TEST(FastLineDevice, BottomUpSectionsGetTheSamePixels) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kW, kH, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap section(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(section);
  MemoryDc bottomUp(nullptr, section.get());
  MemoryDc seen(kW, kH), reference(kW, kH);
  ::PatBlt(bottomUp.dc(), 0, 0, kW, kH, WHITENESS);
  const DevicePoint line[] = {{-3, 2}, {40, 45}, {63, 0}};
  {
    GdiDevice gdi(bottomUp.dc());
    FastLineDevice device(gdi);
    const ObjectId pen = ThinPen(device, kRed, 0);
    const ObjectId old = device.SelectObject(pen);
    device.Polyline(line);
    device.SelectObject(old);
    device.DeleteObject(pen);
  }
  ::BitBlt(seen.dc(), 0, 0, kW, kH, bottomUp.dc(), 0, 0, SRCCOPY);
  UniquePen pen(::CreatePen(PS_SOLID, 0, kRed));
  HGDIOBJ old = ::SelectObject(reference.dc(), pen.get());
  ::Polyline(reference.dc(), reinterpret_cast<const POINT*>(line), 3);
  ::SelectObject(reference.dc(), old);
  EXPECT_EQ(Difference(seen, reference), "");
  EXPECT_EQ(seen.PixelColour(20, 25), kRed);
}

int CALLBACK CountRecords(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM counts) {
  auto& seen = *reinterpret_cast<std::vector<DWORD>*>(counts);
  if (record->iType == EMR_POLYLINE || record->iType == EMR_POLYLINE16 ||
      record->iType == EMR_POLYPOLYLINE || record->iType == EMR_POLYPOLYLINE16)
    seen.push_back(record->iType);
  return 1;
}

TEST(FastLineDevice, ThinLinesGdiStillDrawsGoInOnePolyPolylinePerRun) {
  // A metafile DC holds no bitmap, so the thin lines go to GDI, and the records show how.
  HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(recorder, nullptr);
  {
    GdiDevice gdi(recorder);
    FastLineDevice device(gdi);
    const ObjectId thin = ThinPen(device, kRed, 1);
    const ObjectId dashed = ThinPen(device, kRed, 1, PS_DASH);
    const ObjectId old = device.SelectObject(thin);
    const DevicePoint a[] = {{1, 1}, {20, 5}}, b[] = {{3, 9}, {8, 30}, {40, 2}};
    device.Polyline(a);
    device.Polyline(b);
    device.Polyline(a);  // three thin lines: one record
    device.SelectObject(dashed);
    device.Polyline(b);  // dashed: GDI's own polyline
    device.SelectObject(thin);
    device.Polyline(a);
    device.Polyline(b);  // two more thin lines after it: a second record
    device.SelectObject(old);
    device.DeleteObject(thin);
    device.DeleteObject(dashed);
  }
  UniqueEnhMetaFile metafile(::CloseEnhMetaFile(recorder));
  ASSERT_TRUE(metafile);
  std::vector<DWORD> records;
  ::EnumEnhMetaFile(nullptr, metafile.get(), CountRecords, &records, nullptr);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_TRUE(records[0] == EMR_POLYPOLYLINE || records[0] == EMR_POLYPOLYLINE16);
  EXPECT_TRUE(records[1] == EMR_POLYLINE || records[1] == EMR_POLYLINE16);
  EXPECT_TRUE(records[2] == EMR_POLYPOLYLINE || records[2] == EMR_POLYPOLYLINE16);
}

TEST(FastLineDevice, OtherPensDrawExactlyAsPlainGdi) {
  struct Case {
    const char* name;
    std::uint32_t style, width;
    int mix;
    bool plainPen;  // CreatePen, as made for Windows 9x
  };
  const Case cases[] = {
      {"dashed", PS_DASH, 1, R2_COPYPEN, false},      {"wide", PS_SOLID, 3, R2_COPYPEN, false},
      {"two pixels", PS_SOLID, 2, R2_COPYPEN, false}, {"masked", PS_SOLID, 1, R2_MASKPEN, false},
      {"xor", PS_SOLID, 1, R2_XORPEN, false},         {"plain pen", PS_SOLID, 1, R2_COPYPEN, true},
  };
  for (const Case& c : cases) {
    MemoryDc viaFast(kW, kH), viaGdi(kW, kH);
    for (MemoryDc* surface : {&viaFast, &viaGdi}) {
      ::SelectObject(surface->dc(), ::GetStockObject(DC_BRUSH));
      ::SetDCBrushColor(surface->dc(), kBlue);
      ::PatBlt(surface->dc(), 10, 10, 30, 30, PATCOPY);
      GdiDevice gdi(surface->dc());
      FastLineDevice fast(gdi);
      Device& device = surface == &viaFast ? static_cast<Device&>(fast) : gdi;
      device.SetROP2(c.mix);
      const ObjectId pen = c.plainPen ? device.CreatePen(PS_SOLID, 1, kRed)
                                      : ThinPen(device, kRed, c.width, c.style);
      const ObjectId old = device.SelectObject(pen);
      const DevicePoint line[] = {{2, 3}, {60, 44}, {5, 40}, {50, 4}};
      device.Polyline(line);
      device.SelectObject(old);
      device.DeleteObject(pen);
    }
    EXPECT_EQ(Difference(viaFast, viaGdi), "") << c.name;
  }
}

TEST(DcMapping, MapsPointsAsGdiDoes) {
  MemoryDc surface(8, 8);
  std::mt19937 random(3);
  std::uniform_int_distribution<int> coordinate(-40000, 40000);
  for (const Mapping& m : kMappings) {
    Apply(surface.dc(), m);
    DcMapping mapping;
    ASSERT_TRUE(mapping.Read(surface.dc())) << m.name;
    for (int i = 0; i < 2000; ++i) {
      POINT p{coordinate(random), coordinate(random)};
      const DevicePoint logical{p.x, p.y};
      ::LPtoDP(surface.dc(), &p, 1);
      DevicePoint device{};
      ASSERT_TRUE(mapping.Map(logical, device));
      ASSERT_EQ(device.x, p.x) << m.name << " x of " << logical.x << "," << logical.y;
      ASSERT_EQ(device.y, p.y) << m.name << " y of " << logical.x << "," << logical.y;
    }
    ::SetMapMode(surface.dc(), MM_TEXT);
    ::SetViewportOrgEx(surface.dc(), 0, 0, nullptr);
  }
  // A world transform is not reproduced: the DC is refused.
  XFORM turn{0, 1, -1, 0, 0, 0};
  ::SetGraphicsMode(surface.dc(), GM_ADVANCED);
  ::SetWorldTransform(surface.dc(), &turn);
  DcMapping mapping;
  EXPECT_FALSE(mapping.Read(surface.dc()));
}

}  // namespace
}  // namespace quillon
