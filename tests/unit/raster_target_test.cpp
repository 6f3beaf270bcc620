#include "render/codecs/raster_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

#include "tests/support/native/raster_oracle.h"

namespace quillon {
namespace {

enum class Order { TopDown, BottomUp, Shuffled };

// Hands the picture's rows to a target in the given order, leaving out the rows `skip` selects,
// and returns the image (filled with 0xEE beforehand, so nothing may be left unwritten).
template <typename Skip>
std::vector<std::uint8_t> Place(const oracle::PixelImage& picture, int rotation, Order order,
                                Skip skip) {
  const PixelKind kind = picture.bytesPerPixel == 3 ? PixelKind::Rgb24 : PixelKind::Gray8;
  const RasterGeometry g{picture.width, picture.rows, rotation, 1, kind};
  std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0xEE);
  std::vector<std::int32_t> rows(static_cast<std::size_t>(picture.rows));
  std::iota(rows.begin(), rows.end(), 0);
  if (order == Order::BottomUp) std::reverse(rows.begin(), rows.end());
  if (order == Order::Shuffled) std::shuffle(rows.begin(), rows.end(), std::mt19937(7));
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * picture.bytesPerPixel;
  RasterTarget target(g, image);
  for (std::int32_t r : rows) {
    if (skip(r)) continue;
    std::memcpy(target.BeginPixelRow(r), picture.pixels.data() + r * rowBytes, rowBytes);
    target.EndPixelRow();
  }
  target.Finish();
  return image;
}

// Sizes around the blocks of the turned writes: bands of up to 64 rows (fewer for very wide
// rows), blocks of 16 rows and of 16 or 32 pixels, and the remainders of each.
TEST(RasterTarget, PixelRowsLandTurnedInAnyOrder) {
  struct Size {
    std::int32_t width, rows;
  };
  const Size sizes[] = {{1, 1},   {1, 37},    {37, 1},  {16, 16},    {61, 70},
                        {33, 64}, {200, 129}, {47, 17}, {40000, 21}, {12000, 19}};
  for (int bpp : {1, 3}) {
    for (const Size& s : sizes) {
      const auto picture = oracle::SyntheticPicture(s.width, s.rows, bpp, 3u + s.width);
      for (int rotation : {0, 90, 180, 270}) {
        const auto expected = oracle::ExpectedPixels(picture, rotation);
        for (Order order : {Order::TopDown, Order::BottomUp, Order::Shuffled}) {
          const auto image = Place(picture, rotation, order, [](std::int32_t) { return false; });
          ASSERT_TRUE(image == expected)
              << s.width << "x" << s.rows << " bpp " << bpp << " rotation " << rotation << " order "
              << static_cast<int>(order);
        }
      }
    }
  }
}

TEST(RasterTarget, RowsNeverPlacedAreZero) {
  for (int bpp : {1, 3}) {
    auto picture = oracle::SyntheticPicture(75, 140, bpp, 9);
    const auto missing = [](std::int32_t r) {
      return r % 3 == 1 || (r >= 64 && r < 80) || r > 130;
    };
    auto blanked = picture;
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * bpp;
    for (std::int32_t r = 0; r < picture.rows; ++r)
      if (missing(r)) std::fill_n(blanked.pixels.begin() + r * rowBytes, rowBytes, 0);
    for (int rotation : {0, 90, 180, 270}) {
      const auto expected = oracle::ExpectedPixels(blanked, rotation);
      for (Order order : {Order::TopDown, Order::BottomUp, Order::Shuffled})
        EXPECT_TRUE(Place(picture, rotation, order, missing) == expected)
            << "bpp " << bpp << " rotation " << rotation << " order " << static_cast<int>(order);
    }
  }
}

// A row written twice keeps the second; a row handed out whose decoder stopped is left 0.
TEST(RasterTarget, RewrittenAndUnfinishedRows) {
  for (int bpp : {1, 3}) {
    const auto picture = oracle::SyntheticPicture(50, 90, bpp, 4);
    auto blanked = picture;
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * bpp;
    std::fill_n(blanked.pixels.begin() + 70 * rowBytes, rowBytes, 0);
    for (int rotation : {0, 90, 180, 270}) {
      const PixelKind kind = bpp == 3 ? PixelKind::Rgb24 : PixelKind::Gray8;
      const RasterGeometry g{50, 90, rotation, 1, kind};
      std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0xEE);
      RasterTarget target(g, image);
      for (std::int32_t r = 0; r < 90; ++r) {
        std::memset(target.BeginPixelRow(r), 0x5A, rowBytes);
        if (r == 70) continue;  // begun, never ended
        target.EndPixelRow();
        if (r % 20 == 5) {
          std::memcpy(target.BeginPixelRow(r - 5), picture.pixels.data() + (r - 5) * rowBytes,
                      rowBytes);
          target.EndPixelRow();
        }
        if (r % 20 != 0) {
          std::memcpy(target.BeginPixelRow(r), picture.pixels.data() + r * rowBytes, rowBytes);
          target.EndPixelRow();
        }
      }
      target.Finish();
      EXPECT_TRUE(image == oracle::ExpectedPixels(blanked, rotation))
          << "bpp " << bpp << " rotation " << rotation;
    }
  }
}

}  // namespace
}  // namespace quillon
