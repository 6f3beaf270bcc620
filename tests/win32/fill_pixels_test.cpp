// Fills drawn by the interpreter through GdiDevice on a real memory DC: what the pixels show.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/win32/memory_dc.h"
#include "document/win32/win32_document_platform.h"
#include "render/draw_context.h"
#include "render/win32/gdi_device.h"
#include "tests/support/kpz_builder.h"
// <windows.h> after the interpreter's headers, which use GDI's names.
#include "tests/win32/temp_folder.h"

namespace quillon {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

class FillPixelsTest : public ::testing::Test {
 protected:
  // Draws the plot at `zoom` device pixels per dot with the view turned by `rotation`.
  void Draw(const KpzBuilder& builder, double zoom = 1, int rotation = 0) {
    const std::string file = folder.Write("fill.kpz", builder.Build());
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(context.OpenDocument(file, surface.width(), surface.height()), 0);
    context.DrawScreen(
        device, {double(surface.width()), double(surface.height()), 0, 0, zoom, rotation}, file);
    context.CloseDocument(&device);
  }
  int Count(const std::function<bool(COLORREF)>& keep, int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += keep(surface.PixelColour(x, y));
    return n;
  }
  bool Dark(int x, int y) const { return surface.PixelColour(x, y) == kBlack; }

  test::TempFolder folder;
  Win32DocumentPlatform platform{[](const std::string&) {}};
  DrawContext context{platform, 0, 0};
  MemoryDc surface{200, 200};
  GdiDevice device{surface.dc()};
};

// A page of 200 x 200 dots.
KpzBuilder Page() {
  KpzBuilder b;
  b.PageSize(0.2, 0.2, 1000);
  return b;
}

const std::vector<DevicePoint> kWhole = {{0, 0}, {200, 0}, {200, 200}, {0, 200}, {0, 0}};

TEST_F(FillPixelsTest, PolygonSetWithAHoleLeavesTheHoleWhite) {
  KpzBuilder b = Page();
  b.BeginPage()
      .FillColour(1, KpzBuilder::Rgb(255, 0, 0))
      .PolygonSet(2, {{{20, 20}, {180, 20}, {180, 180}, {20, 180}, {20, 20}},
                      {{60, 60}, {140, 60}, {140, 140}, {60, 140}, {60, 60}}})
      .EndPage();
  Draw(b);
  EXPECT_EQ(surface.PixelColour(40, 40), kRed);
  EXPECT_EQ(surface.PixelColour(160, 100), kRed);
  EXPECT_EQ(surface.PixelColour(100, 100), kWhite);
  EXPECT_EQ(surface.PixelColour(10, 10), kWhite);
  // No outline: the ring's edge is the fill colour, not the black pen's.
  EXPECT_EQ(surface.PixelColour(21, 100), kRed);
  EXPECT_EQ(Count([](COLORREF c) { return c == kBlack; }, 0, 0, 200, 200), 0);
}

TEST_F(FillPixelsTest, OutlineOnlySetDrawsEdgesAndNoFill) {
  KpzBuilder b = Page();
  b.BeginPage()
      .OutlineColour(KpzBuilder::Rgb(0, 255, 0))
      .OutlineWidth(3)
      .PolygonSet(1, {{{20, 20}, {180, 20}, {180, 180}, {20, 180}, {20, 20}}})
      .EndPage();
  Draw(b);
  EXPECT_EQ(surface.PixelColour(100, 20), kGreen);
  EXPECT_EQ(surface.PixelColour(20, 100), kGreen);
  EXPECT_EQ(surface.PixelColour(100, 100), kWhite);  // the null brush
}

// The six hatch styles, each told by where its black pixels lie in an 8-pixel period.
TEST_F(FillPixelsTest, EachHatchStyleShowsItsLines) {
  using Rule = std::function<bool(int, int)>;  // (x, y) -> is on a line
  for (std::uint16_t style = 1; style <= 6; ++style) {
    SCOPED_TRACE("fill style " + std::to_string(style));
    surface.Fill(kWhite);
    KpzBuilder b = Page();
    b.BeginPage().FillStyle(style).PolygonSet(2, {kWhole}).EndPage();
    Draw(b);
    // The phase of the lines is GDI's: take it from the pixels seen.
    int row = -1, column = -1, down = -1, up = -1;
    for (int i = 0; i < 8; ++i) {
      bool fullRow = true, fullColumn = true, fullDown = true, fullUp = true;
      for (int k = 40; k < 80; ++k) {
        fullRow = fullRow && Dark(k, 40 + i);
        fullColumn = fullColumn && Dark(40 + i, k);
        fullDown = fullDown && Dark(k, k - 40 + 40 + i);  // x - y constant
        fullUp = fullUp && Dark(k, 160 - k + i);          // x + y constant
      }
      if (fullRow) row = (40 + i) % 8;
      if (fullColumn) column = (40 + i) % 8;
      if (fullDown) down = ((40 - 40 - i) % 8 + 8) % 8;
      if (fullUp) up = (160 + i) % 8;
    }
    const Rule onRow = [&](int, int y) { return row >= 0 && y % 8 == row; };
    const Rule onColumn = [&](int x, int) { return column >= 0 && x % 8 == column; };
    const Rule onDown = [&](int x, int y) { return down >= 0 && ((x - y) % 8 + 8) % 8 == down; };
    const Rule onUp = [&](int x, int y) { return up >= 0 && (x + y) % 8 == up; };
    Rule expected;
    switch (style) {
      case 1:
        expected = onRow;
        break;
      case 2:
        expected = onColumn;
        break;
      case 3:
        expected = onDown;
        break;
      case 4:
        expected = onUp;
        break;
      case 5:
        expected = [&](int x, int y) { return onRow(x, y) || onColumn(x, y); };
        break;
      default:
        expected = [&](int x, int y) { return onDown(x, y) || onUp(x, y); };
        break;
    }
    const bool lines[] = {row >= 0, column >= 0, down >= 0, up >= 0};
    const bool want[6][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0},
                             {0, 0, 0, 1}, {1, 1, 0, 0}, {0, 0, 1, 1}};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(lines[k], want[style - 1][k]) << "line kind " << k;
    int wrong = 0;
    for (int y = 40; y < 160; ++y)
      for (int x = 40; x < 160; ++x) wrong += Dark(x, y) != expected(x, y);
    EXPECT_EQ(wrong, 0);
  }
}

// An 8 x 8 one-bit pattern, rows listed top to bottom as they appear on the screen.
const char* const kGlyph[8] = {"11111111", "10000000", "10111100", "10100000",
                               "10100000", "10000000", "10000000", "10000001"};

KpzPattern GlyphPattern(std::uint16_t id) {
  KpzPattern p;
  p.id = id;
  p.width = 8;
  p.rows = 8;
  p.bytesPerRow = 4;
  p.format = 0x8010;
  p.colours = {0, 0};
  // Small patterns at angle 0 are used top-down: the record's first row is the top one.
  for (int y = 0; y < 8; ++y) {
    std::uint8_t bits = 0;
    for (int x = 0; x < 8; ++x)
      if (kGlyph[y][x] == '1') bits |= 0x80 >> x;
    p.pixels.insert(p.pixels.end(), {bits, 0, 0, 0});
  }
  return p;
}

TEST_F(FillPixelsTest, SmallPatternTilesWithItsOwnBits) {
  KpzBuilder b = Page();
  b.PatternTableDeclaration(1)
      .BeginPage()
      .PatternDefinition(GlyphPattern(7))
      .FillStyle(7)
      .PatternFore(1, KpzBuilder::Rgb(255, 0, 0))
      .PatternBack(1, KpzBuilder::Rgb(0, 255, 0))
      .PolygonSet(2, {kWhole})
      .EndPage();
  Draw(b);
  int wrong = 0;
  for (int y = 8; y < 120; ++y)
    for (int x = 8; x < 120; ++x)
      wrong += surface.PixelColour(x, y) != (kGlyph[y % 8][x % 8] == '1' ? kRed : kGreen);
  EXPECT_EQ(wrong, 0);
}

// A pattern of `side` x `side` one-bit pixels; `on` says which are set (x, row from the
// bottom as stored).
KpzPattern BigPattern(std::uint16_t id, std::int32_t side,
                      const std::function<bool(int, int)>& on) {
  KpzPattern p;
  p.id = id;
  p.width = side;
  p.rows = side;
  p.bytesPerRow = (side + 31) / 32 * 4;
  p.format = 0x8010;
  p.colours = {0, 0};
  p.pixels.assign(static_cast<std::size_t>(p.bytesPerRow) * side, 0);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      if (on(x, y)) p.pixels[y * p.bytesPerRow + x / 8] |= 0x80 >> (x % 8);
  return p;
}

TEST_F(FillPixelsTest, LargePatternIsHalvedWhenZoomedOut) {
  // A one-pixel chequer of 84 x 84 (reductions up to 4): half black as defined; halved
  // with the either-bit rule every pixel pair holds a black one, so all is black.
  const auto chequer = BigPattern(7, 84, [](int x, int y) { return (x + y) % 2 == 0; });
  auto drawAt = [&](double zoom, int dots) {
    surface.Fill(kWhite);
    KpzBuilder b;
    b.PageSize(dots / 1000.0, dots / 1000.0, 1000);
    b.BeginPage()
        .PatternDefinition(chequer)
        .FillStyle(7)
        .PolygonSet(2, {{{0, 0}, {dots, 0}, {dots, dots}, {0, dots}, {0, 0}}})
        .EndPage();
    Draw(b, zoom);
    return Count([](COLORREF c) { return c == kBlack; }, 10, 10, 150, 150);
  };
  const int area = 140 * 140;
  const int close = drawAt(1.0, 200);         // D = 1: as defined
  const int farOut = drawAt(1.0 / 3.0, 600);  // D = 3: halved once
  EXPECT_NEAR(close, area / 2, area / 50);
  EXPECT_EQ(farOut, area);
}

TEST_F(FillPixelsTest, AfterABitonalRasterOnBlackTheHalvingNeedsBothPixels) {
  // The same chequer, black on green, halved with the both-bits rule keeps no black pixel.
  const auto chequer = BigPattern(7, 84, [](int x, int y) { return (x + y) % 2 == 0; });
  KpzRasterHeader raster;
  raster.format = 0x1000;  // bitonal
  raster.backColour = 0;   // on black
  auto draw = [&](bool withRaster, double zoom) {
    surface.Fill(kWhite);
    KpzBuilder b;
    b.PageSize(0.6, 0.6, 1000);
    b.BeginPage();
    if (withRaster) b.RasterHeader(raster);
    b.PatternDefinition(chequer)
        .FillStyle(7)
        .PatternBack(1, KpzBuilder::Rgb(0, 255, 0))
        .PolygonSet(2, {{{0, 0}, {600, 0}, {600, 600}, {0, 600}, {0, 0}}})
        .EndPage();
    Draw(b, zoom);
  };
  const int area = 140 * 140;
  auto black = [&] { return Count([](COLORREF c) { return c == kBlack; }, 10, 10, 150, 150); };
  auto green = [&] { return Count([](COLORREF c) { return c == kGreen; }, 10, 10, 150, 150); };
  draw(true, 1.0);  // D = 1: as defined, whatever the rule
  EXPECT_NEAR(black(), area / 2, area / 50);
  EXPECT_EQ(black() + green(), area);
  draw(true, 1.0 / 3.0);  // D = 3: halved once
  EXPECT_EQ(black(), 0);
  EXPECT_EQ(green(), area);
  draw(false, 1.0 / 3.0);  // without the raster: either pixel
  EXPECT_EQ(black(), area);
}

TEST_F(FillPixelsTest, PatternAtAngleZeroTurnsWithTheViewAndAt45DoesNot) {
  // Horizontal stripes 4 pixels high in a 40 x 40 pattern.
  const auto stripes = BigPattern(7, 40, [](int, int y) { return y % 8 < 4; });
  auto draw = [&](double angle) {
    surface.Fill(kWhite);
    KpzBuilder b = Page();
    b.BeginPage()
        .PatternDefinition(stripes)
        .FillStyle(7)
        .PatternAngle(angle)
        .PolygonSet(2, {kWhole})
        .EndPage();
    Draw(b, 1.0, 90);
  };
  auto uniform = [&](bool rows) {
    for (int i = 20; i < 180; ++i)
      for (int k = 21; k < 180; ++k)
        if (Dark(rows ? k : i, rows ? i : k) != Dark(rows ? 20 : i, rows ? i : 20)) return false;
    return true;
  };
  draw(0);
  EXPECT_TRUE(uniform(false)) << "columns: the stripes turned upright";
  EXPECT_FALSE(uniform(true));
  draw(45);
  EXPECT_TRUE(uniform(true)) << "rows: the stripes kept lying";
  EXPECT_FALSE(uniform(false));
}

// A 24 x 32 pattern that looks different in every turn and mirror: a bar along its top edge
// from the left, a short stroke down its left edge and one dot near the bottom right.
bool FlagPixel(int x, int yFromTop) {
  return (yFromTop == 0 && x < 16) || (x == 0 && yFromTop < 10) || (x == 20 && yFromTop == 28);
}

// What the screen shows at (x, y) of the pattern tiled from the device origin, turned
// clockwise on the screen by `clockwise` degrees.
bool TurnedFlagAt(int x, int y, int clockwise) {
  constexpr int w = 24, h = 32;
  switch (clockwise) {
    case 90:  // h wide, w high
      return FlagPixel(y % w, h - 1 - x % h);
    case 180:
      return FlagPixel(w - 1 - x % w, h - 1 - y % h);
    case 270:
      return FlagPixel(w - 1 - y % w, x % h);
    default:
      return FlagPixel(x % w, y % h);
  }
}

TEST_F(FillPixelsTest, PatternTurnsWithThePageAndIsNeverMirrored) {
  KpzPattern flag;
  flag.id = 7;
  flag.width = 24;
  flag.rows = 32;
  flag.bytesPerRow = 4;
  flag.format = 0x8010;
  flag.colours = {0, 0};
  flag.pixels.assign(4 * 32, 0);
  for (int row = 0; row < 32; ++row)  // stored bottom row first
    for (int x = 0; x < 24; ++x)
      if (FlagPixel(x, 31 - row)) flag.pixels[row * 4 + x / 8] |= 0x80 >> (x % 8);
  // The view turns the page clockwise by its rotation; a pattern at angle 0 goes with it.
  for (int rotation : {0, 90, 180, 270}) {
    SCOPED_TRACE("view rotation " + std::to_string(rotation));
    surface.Fill(kWhite);
    KpzBuilder b = Page();
    b.BeginPage()
        .PatternDefinition(flag)
        .FillStyle(7)
        .PatternAngle(0)
        .PolygonSet(2, {kWhole})
        .EndPage();
    Draw(b, 1.0, rotation);
    int wrong = 0, dark = 0;
    for (int y = 10; y < 190; ++y)
      for (int x = 10; x < 190; ++x) {
        wrong += Dark(x, y) != TurnedFlagAt(x, y, rotation);
        dark += Dark(x, y);
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(dark, 180 * 180 / 40);
  }
}

TEST_F(FillPixelsTest, SheetBackgroundFillsTheTurnedSheetWithoutOutline) {
  KpzBuilder b;
  b.PageSize(0.2, 0.1, 1000);  // 200 x 100 dots; turned by 90 it stands 100 wide
  b.BeginPage().SheetBackground(1000, 0.2, 0.1, KpzBuilder::Rgb(0, 255, 0)).EndPage();
  Draw(b, 1.0, 90);
  EXPECT_EQ(surface.PixelColour(50, 100), kGreen);
  EXPECT_EQ(surface.PixelColour(1, 1), kGreen);
  EXPECT_EQ(surface.PixelColour(98, 198), kGreen);
  EXPECT_EQ(surface.PixelColour(150, 100), kWhite);
  EXPECT_EQ(Count([](COLORREF c) { return c == kBlack; }, 0, 0, 200, 200), 0);
  EXPECT_GT(Count([](COLORREF c) { return c == kGreen; }, 0, 0, 200, 200), 99 * 199);
}

}  // namespace
}  // namespace quillon
