// The cairo device on small built plots, antialiasing off: where lines, fills, hatches and
// rasters land, pixel by pixel, rasters wider or taller than a cairo image included.

#include <gtest/gtest.h>

#include "tests/convert/cairo_picture.h"

namespace quillon::test {
namespace {

constexpr std::uint32_t kRed = 0xFF0000;

// 1000 x 500 dots at 1000 dots per metre: one pixel per dot at zoom 1.
KpzBuilder Page() {
  KpzBuilder b;
  b.PageSize(1.0, 0.5, 1000);
  return b;
}

TEST(CairoDeviceTest, LinesCoverThePixelsGdiDrawsForTheirWidth) {
  const struct {
    double width;
    int firstRow, lastRow;  // rows covered at x = 400
  } cases[] = {{0, 200, 200}, {1, 200, 200}, {5, 198, 202}, {20, 190, 209}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    KpzBuilder b = Page();
    b.BeginPage().LineWidth(c.width).Polyline({{100, 200}, {800, 200}}).EndPage();
    CairoPicture picture(b, 1000, 500);
    ASSERT_TRUE(picture.opened());
    EXPECT_EQ(picture.error(), "");
    EXPECT_EQ(picture.At(400, c.firstRow - 1), kWhitePixel);
    EXPECT_EQ(picture.At(400, c.firstRow), kBlackPixel);
    EXPECT_EQ(picture.At(400, c.lastRow), kBlackPixel);
    EXPECT_EQ(picture.At(400, c.lastRow + 1), kWhitePixel);
    EXPECT_EQ(picture.CountInColumn(400, kBlackPixel), c.lastRow - c.firstRow + 1);
  }
}

TEST(CairoDeviceTest, ThinLineStartsOnItsFirstPixelAndStopsBeforeItsLast) {
  KpzBuilder b = Page();
  b.BeginPage().Polyline({{100, 200}, {800, 200}}).Polyline({{50, 10}, {50, 300}}).EndPage();
  CairoPicture picture(b, 1000, 500);
  EXPECT_EQ(picture.CountInRow(200, kBlackPixel), 700 + 1);  // the vertical line crosses it
  EXPECT_EQ(picture.At(100, 200), kBlackPixel);
  EXPECT_EQ(picture.At(799, 200), kBlackPixel);
  EXPECT_EQ(picture.At(800, 200), kWhitePixel);
  EXPECT_EQ(picture.CountInColumn(50, kBlackPixel), 290);
}

TEST(CairoDeviceTest, LineTurnsWithTheView) {
  // At 90 degrees a dot (x, y) of the 1000 x 500 page lands at (500 - y, x).
  KpzBuilder b = Page();
  b.BeginPage().LineColour(KpzBuilder::Rgb(255, 0, 0)).Polyline({{100, 50}, {600, 50}}).EndPage();
  CairoPicture picture(b, 500, 1000, 90);
  EXPECT_EQ(picture.CountInColumn(450, kRed), 500);
  EXPECT_EQ(picture.At(450, 100), kRed);
  EXPECT_EQ(picture.At(450, 599), kRed);
  EXPECT_EQ(picture.At(449, 300), kWhitePixel);
}

TEST(CairoDeviceTest, ZoomScalesCoordinatesAndWidths) {
  KpzBuilder b = Page();
  b.BeginPage().LineWidth(10).Polyline({{100, 200}, {800, 200}}).EndPage();
  CairoPicture picture(b, 500, 250, 0, 0.5);
  EXPECT_EQ(picture.CountInColumn(200, kBlackPixel), 5);
  EXPECT_EQ(picture.At(200, 100), kBlackPixel);
  // 350 pixels and the round caps' half widths.
  EXPECT_EQ(picture.CountInRow(100, kBlackPixel), 355);
}

TEST(CairoDeviceTest, UserDashesAreDocumentDotsAndScaleWithTheView) {
  for (double zoom : {1.0, 0.5}) {
    SCOPED_TRACE(zoom);
    KpzBuilder b = Page();
    const std::uint16_t style = b.AddLineStyle({40, 60});
    b.BeginPage().LineStyle(style).Polyline({{0, 100}, {1000, 100}}).EndPage();
    CairoPicture picture(b, static_cast<int>(1000 * zoom), static_cast<int>(500 * zoom), 0, zoom);
    const int y = static_cast<int>(100 * zoom);
    // Ten dashes of 40 dots in 1000.
    EXPECT_NEAR(picture.CountInRow(y, kBlackPixel), 400 * zoom, 12 * zoom);
    EXPECT_EQ(picture.At(static_cast<int>(20 * zoom), y), kBlackPixel);
    EXPECT_EQ(picture.At(static_cast<int>(70 * zoom), y), kWhitePixel);
    EXPECT_EQ(picture.At(static_cast<int>(120 * zoom), y), kBlackPixel);
  }
}

TEST(CairoDeviceTest, PolygonSetFillsInsideWithRingsAsHoles) {
  KpzBuilder b = Page();
  b.BeginPage()
      .FillColour(0, KpzBuilder::Rgb(255, 0, 0))
      .PolygonSet(2, {{{100, 100}, {400, 100}, {400, 400}, {100, 400}},
                      {{200, 200}, {300, 200}, {300, 300}, {200, 300}}})
      .EndPage();
  CairoPicture picture(b, 1000, 500);
  EXPECT_EQ(picture.At(150, 150), kRed);
  EXPECT_EQ(picture.At(100, 100), kRed);
  EXPECT_EQ(picture.At(399, 399), kRed);
  EXPECT_EQ(picture.At(400, 250), kWhitePixel);
  EXPECT_EQ(picture.At(250, 250), kWhitePixel);  // the hole
  EXPECT_EQ(picture.CountInRow(150, kRed), 300);
  EXPECT_EQ(picture.CountInRow(250, kRed), 200);
}

TEST(CairoDeviceTest, HatchesRepeatGdisEightPixelTilesFromTheDeviceOrigin) {
  const struct {
    std::uint16_t style;
    int x, y;  // a point of the tile that the hatch sets (all its repeats too)
    int clearX, clearY;
  } cases[] = {{1, 0, 4, 0, 3}, {2, 4, 0, 3, 0}, {3, 0, 0, 1, 0}, {4, 7, 0, 6, 0},
               {5, 4, 1, 3, 1}, {6, 0, 0, 2, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    KpzBuilder b = Page();
    b.BeginPage()
        .FillStyle(c.style)
        .PatternFore(1, KpzBuilder::Rgb(0, 0, 255))
        .PolygonSet(2, {{{96, 96}, {400, 96}, {400, 400}, {96, 400}}})
        .EndPage();
    CairoPicture picture(b, 1000, 500);
    int set = 0, clear = 0;
    for (int tile = 0; tile < 20; ++tile) {
      const int ox = 96 + 8 * tile, oy = 96 + 8 * (tile % 7);
      set += picture.At(ox + c.x, oy + c.y) == 0x0000FF;
      clear += picture.At(ox + c.clearX, oy + c.clearY) == kWhitePixel;
    }
    EXPECT_EQ(set, 20);
    EXPECT_EQ(clear, 20);
    EXPECT_EQ(picture.At(50, 50), kWhitePixel);
  }
}

// A bitonal run-pair raster of 16 x `rows` pixels with pixels [2, 5) set on every row, in a
// box of 160 x 40 dots at (100, 50): ten dots per pixel across.
KpzBuilder RasterPlot(std::uint8_t flags, std::int32_t rows) {
  KpzBuilder b = Page();
  b.BeginPage();
  b.FillColour(0, KpzBuilder::Rgb(255, 0, 0)).PolygonSet(2, {{{0, 0}, {400, 0}, {400, 200}, {0, 200}}});
  KpzRasterHeader h;
  h.flags = static_cast<std::uint8_t>(0x80 | flags);
  h.foreColour = 0x000000;
  h.backColour = 0xFFFFFF;
  h.x = h.x1 = 100;
  h.y = h.y1 = 50;
  h.x2 = 260;
  h.y2 = 90;
  h.rows = rows;
  h.bytesPerRow = 2;
  h.width = 16;
  h.format = 0x0001;
  b.RasterHeader(h);
  for (std::int32_t r = 0; r < rows; ++r) b.RasterData(std::vector<std::uint8_t>{2, 0, 3, 0});
  return b.EndPage(), b;
}

TEST(CairoDeviceTest, BitonalRasterPaintsItsColoursOrOnlyItsForegroundWhenTransparent) {
  const struct {
    std::uint8_t flags;
    std::uint32_t background;  // what the raster's clear pixels show
  } cases[] = {{0, kWhitePixel}, {0x04, kRed}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.flags));
    CairoPicture picture(RasterPlot(c.flags, 40), 1000, 500);
    EXPECT_EQ(picture.error(), "");
    for (int y : {51, 70, 88}) {
      EXPECT_EQ(picture.At(110, y), c.background);
      EXPECT_EQ(picture.At(121, y), kBlackPixel);
      EXPECT_EQ(picture.At(148, y), kBlackPixel);
      EXPECT_EQ(picture.At(152, y), c.background);
    }
    EXPECT_EQ(picture.At(130, 45), kRed);  // above the raster
    EXPECT_EQ(picture.At(130, 95), kRed);  // below it
  }
}

TEST(CairoDeviceTest, RasterOfManyBandsHasNoGapsAndTurnsWithTheView) {
  // 400 rows in a box 40 dots high: ten bands of 40 rows, each shrunk onto 4 pixels.
  CairoPicture picture(RasterPlot(0, 400), 500, 1000, 270);
  // At 270 degrees (x, y) lands at (y, 1000 - x): the set columns [120, 150) become rows
  // (850, 880], across every column of the box.
  for (int x = 51; x < 90; x += 3) {
    SCOPED_TRACE(x);
    EXPECT_EQ(picture.At(x, 865), kBlackPixel);
    EXPECT_EQ(picture.At(x, 890), kWhitePixel);
  }
}

TEST(CairoDeviceTest, ShrunkScanKeepsItsThinDarkLinesAsGdiBlackOnWhiteDoes) {
  // 400 rows in 40 dots: ten rows to a pixel; one black row in every hundred.
  KpzBuilder b = Page();
  KpzRasterHeader h;
  h.flags = 0x80;
  h.x = h.x1 = 100;
  h.y = h.y1 = 50;
  h.x2 = 260;
  h.y2 = 90;
  h.rows = 400;
  h.bytesPerRow = 2;
  h.width = 16;
  h.format = 0x0001;
  b.BeginPage().RasterHeader(h);
  for (int r = 0; r < h.rows; ++r)
    b.RasterData(r % 100 == 55 ? std::vector<std::uint8_t>{0, 0, 16, 0}
                               : std::vector<std::uint8_t>{16, 0, 0, 0});
  b.EndPage();
  CairoPicture picture(b, 1000, 500);
  int blackRows = 0;
  for (int y = 48; y < 93; ++y) blackRows += picture.At(180, y) == kBlackPixel;
  EXPECT_EQ(blackRows, 4);
}

// cairo images hold 32767 pixels a side. A stored raster 40000 pixels wide or high, a pixel a
// dot, the view scrolled to its pixels on both sides of column (or row) 32767, where tiles meet.
TEST(CairoDeviceTest, RasterLargerThanACairoImageIsDrawnInTilesWithoutLosingAPixel) {
  constexpr std::int32_t kLong = 40000, kShort = 3;
  constexpr std::uint32_t kRgb[3] = {0xFF0000, 0x00FF00, 0x0000FF};
  const struct {
    int bits;
    bool tall;
  } cases[] = {{1, false}, {24, false}, {1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " bits, tall " << c.tall);
    // Pixel (column, row) is black, or kRgb[k], by (column + row) % 3: a column or row lost
    // or doubled at a seam shifts every one after it.
    auto expected = [&](std::int32_t col, std::int32_t row) {
      const int k = static_cast<int>((col + row) % 3);
      return c.bits == 1 ? (k == 0 ? kBlackPixel : kWhitePixel) : kRgb[k];
    };
    const std::int32_t width = c.tall ? kShort : kLong, rows = c.tall ? kLong : kShort;
    const std::size_t stride = (static_cast<std::size_t>(width) * c.bits + 31) / 32 * 4;
    std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(rows), 0);
    for (std::int32_t row = 0; row < rows; ++row) {
      std::uint8_t* line = &bits[stride * static_cast<std::size_t>(row)];
      for (std::int32_t col = 0; col < width; ++col) {
        const std::uint32_t px = expected(col, row);
        if (c.bits == 1 && px == kBlackPixel) line[col / 8] |= static_cast<std::uint8_t>(0x80 >> (col % 8));
        if (c.bits == 24)
          for (int k = 0; k < 3; ++k) line[3 * col + k] = static_cast<std::uint8_t>(px >> (8 * k));
      }
    }
    KpzRasterHeader h;
    h.x = h.x1 = 10;
    h.y = h.y1 = 10;
    h.x2 = 10 + width;
    h.y2 = 10 + rows;
    h.rows = rows;
    h.bytesPerRow = static_cast<std::int32_t>(stride);
    h.width = width;
    h.format = c.bits == 1 ? 0x8010 : 0x8080;
    h.colours = {0xFFFFFF, 0x000000};
    KpzBuilder b = Page();
    b.BeginPage().RasterHeader(h).RasterData(bits).EndPage();
    // Scrolled to the seams: device pixel (u, v) shows dot (u + shiftX, v + shiftY).
    const int shiftX = c.tall ? 0 : 32300, shiftY = c.tall ? 32500 : 0;
    CairoPicture picture(b, 1000, 500, 0, 1, -shiftX, -shiftY);
    ASSERT_EQ(picture.error(), "");
    int wrong = 0;
    for (int along = 0; along < (c.tall ? 500 : 1000); ++along) {
      for (int across = 0; across < kShort; ++across) {
        const int px = c.tall ? 10 + across : along, py = c.tall ? along : 10 + across;
        wrong += picture.At(px, py) != expected(px + shiftX - 10, py + shiftY - 10);
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace
}  // namespace quillon::test
