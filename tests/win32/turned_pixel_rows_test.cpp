// Turned 8-bit and RGB images in the shipped 32-bit build: their columns are written with the
// processor's wider instructions when it has them, chosen at run time, and a 32-bit build has
// half the vector registers of the native one the unit tests run. Sizes around the blocks (16
// and 32 pixels of 16 rows, 4 × 4 RGB pixels, bands of 16 to 64 rows) and their remainders.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/codecs/raster_target.h"

namespace quillon {
namespace {

std::uint8_t SourceByte(std::int32_t x, std::int32_t row, int channel) {
  return static_cast<std::uint8_t>(x * 7 + row * 13 + channel * 101 + ((x * row) >> 3));
}

// The first wrong byte of the turned image ("" when none): pixels from their source pixel,
// row padding zero.
std::string FirstWrongByte(std::int32_t width, std::int32_t rows, int bpp, int rotation) {
  const RasterGeometry g{width, rows, rotation, 1, bpp == 3 ? PixelKind::Rgb24 : PixelKind::Gray8};
  const RasterLayout layout = *MeasureRaster(g);
  std::vector<std::uint8_t> image(layout.bytes, 0xEE);
  {
    RasterTarget target(g, image);
    for (std::int32_t r = 0; r < rows; ++r) {
      std::uint8_t* row = target.BeginPixelRow(r);
      for (std::int32_t x = 0; x < width; ++x)
        for (int c = 0; c < bpp; ++c) row[x * bpp + c] = SourceByte(x, r, c);
      target.EndPixelRow();
    }
    target.Finish();
  }
  for (std::int32_t y = 0; y < layout.rows; ++y) {
    const std::uint8_t* out = image.data() + static_cast<std::size_t>(y) * layout.stride;
    for (std::size_t b = 0; b < layout.stride; ++b) {
      const std::int32_t x = static_cast<std::int32_t>(b / bpp);
      const int c = static_cast<int>(b % bpp);
      std::uint8_t want = 0;
      if (x < layout.width)  // turned by 90: source row rows-1-x; by 270: row x, pixel mirrored
        want = rotation == 90 ? SourceByte(y, rows - 1 - x, c) : SourceByte(width - 1 - y, x, c);
      if (out[b] != want)
        return "byte " + std::to_string(b) + " of row " + std::to_string(y) + " is " +
               std::to_string(out[b]) + ", not " + std::to_string(want);
    }
  }
  return "";
}

TEST(TurnedPixelRows, EveryPixelLandsWhereTheTurnPutsIt) {
  struct Size {
    std::int32_t width, rows;
  };
  const Size sizes[] = {{1, 1},   {33, 64},   {32, 16},   {47, 17},
                        {61, 70}, {200, 129}, {4000, 40}, {100, 300}};
  for (int bpp : {1, 3})
    for (const Size& s : sizes)
      for (int rotation : {90, 270})
        EXPECT_EQ(FirstWrongByte(s.width, s.rows, bpp, rotation), "")
            << s.width << " x " << s.rows << ", " << bpp << " bytes a pixel, turned by "
            << rotation;
}

}  // namespace
}  // namespace quillon
