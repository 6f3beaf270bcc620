#include "render/codecs/run_pair_decoder.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/native/raster_oracle.h"

namespace quillon {
namespace {

using oracle::BitImage;

std::vector<std::uint8_t> Pairs(std::initializer_list<std::uint16_t> values) {
  std::vector<std::uint8_t> out;
  for (std::uint16_t v : values) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  return out;
}

std::vector<std::uint8_t> DecodeRows(const std::vector<std::vector<std::uint8_t>>& rows,
                                     std::int32_t width, int rotation, int factor, PairRule rule) {
  HalvingTables tables;
  tables.Build(rule);
  const RasterGeometry g{width, static_cast<std::int32_t>(rows.size()), rotation, factor,
                         PixelKind::Bitonal};
  std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0x5A);
  {
    RasterTarget target(g, image, &tables);
    EXPECT_TRUE(target.ok());
    for (std::size_t r = 0; r < rows.size(); ++r)
      DecodeRunPairRow(rows[r], static_cast<std::int32_t>(r), target);
  }
  return image;
}

TEST(RunPairDecoder, PaintsRunsAfterSkips) {
  // 40 pixels: 3 white, 5 black, 20 white, 12 black (crossing 32-bit words).
  const auto image = DecodeRows({Pairs({3, 5, 20, 12})}, 40, 0, 1, PairRule::Or);
  const std::vector<std::uint8_t> expected = {0x1F, 0x00, 0x00, 0x0F, 0xFF, 0, 0, 0};
  EXPECT_EQ(image, expected);
}

TEST(RunPairDecoder, SixByteRecordPaintsOnePair) {
  auto record = Pairs({1, 2});
  record.push_back(0x05);
  record.push_back(0x05);
  const auto image = DecodeRows({record}, 8, 0, 1, PairRule::Or);
  EXPECT_EQ(image[0], 0x60);
}

TEST(RunPairDecoder, RunsPastTheWidthAreCut) {
  const auto image = DecodeRows({Pairs({6, 60000, 65535, 65535})}, 10, 0, 1, PairRule::Or);
  const std::vector<std::uint8_t> expected = {0x03, 0xC0, 0, 0};
  EXPECT_EQ(image, expected);
}

TEST(RunPairDecoder, EmptyRecordLeavesTheRowWhite) {
  const auto image = DecodeRows({{}, Pairs({0, 8})}, 8, 0, 1, PairRule::Or);
  const std::vector<std::uint8_t> expected = {0, 0, 0, 0, 0xFF, 0, 0, 0};
  EXPECT_EQ(image, expected);
}

TEST(RunPairDecoder, RowsAreTurnedAtEveryRotation) {
  // An L: column 0 black on all 3 rows, row 2 black from column 0 to 4 of 5.
  const auto rows =
      std::vector<std::vector<std::uint8_t>>{Pairs({0, 1}), Pairs({0, 1}), Pairs({0, 4})};
  // 90: output 3 wide, 5 tall; source (j, r) goes to (2 - r, j).
  EXPECT_EQ(DecodeRows(rows, 5, 90, 1, PairRule::Or),
            (std::vector<std::uint8_t>{0xE0, 0, 0,    0, 0x80, 0, 0,    0, 0x80, 0,
                                       0,    0, 0x80, 0, 0,    0, 0x00, 0, 0,    0}));
  // 180: (4 - j, 2 - r).
  EXPECT_EQ(DecodeRows(rows, 5, 180, 1, PairRule::Or),
            (std::vector<std::uint8_t>{0x78, 0, 0, 0, 0x08, 0, 0, 0, 0x08, 0, 0, 0}));
  // 270: (r, 4 - j).
  EXPECT_EQ(DecodeRows(rows, 5, 270, 1, PairRule::Or),
            (std::vector<std::uint8_t>{0x00, 0, 0,    0, 0x20, 0, 0,    0, 0x20, 0,
                                       0,    0, 0x20, 0, 0,    0, 0xE0, 0, 0,    0}));
}

TEST(RunPairDecoder, ImagesAtEveryRotationAndFactor) {
  for (const auto& [w, h, seed] :
       {std::tuple{517, 301, 1u}, std::tuple{64, 64, 2u}, std::tuple{33, 70, 3u}}) {
    const BitImage image = oracle::SyntheticDrawing(w, h, seed, 10);
    const auto rows = oracle::EncodeRunPairRows(image);
    for (int rotation : {0, 90, 180, 270})
      for (int factor : {1, 2, 4, 8, 16, 32})
        for (PairRule rule : {PairRule::Or, PairRule::And})
          EXPECT_EQ(DecodeRows(rows, w, rotation, factor, rule),
                    oracle::ExpectedBitonal(image, rotation, factor, rule))
              << w << "x" << h << " rotation " << rotation << " factor " << factor;
  }
}

TEST(RunPairDecoder, HundredRowsAtFactorEightGiveTwelveRows) {
  std::vector<std::vector<std::uint8_t>> rows(100, Pairs({0, 64}));
  HalvingTables tables;
  tables.Build(PairRule::Or);
  const RasterGeometry g{64, 100, 0, 8, PixelKind::Bitonal};
  const auto layout = MeasureRaster(g);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->rows, 12);
  EXPECT_EQ(layout->width, 8);
  const auto image = DecodeRows(rows, 64, 0, 8, PairRule::Or);
  ASSERT_EQ(image.size(), 12u * 4);
  for (std::size_t r = 0; r < 12; ++r) EXPECT_EQ(image[r * 4], 0xFF);
}

TEST(RasterTarget, RefusesGeometriesItCannotDraw) {
  EXPECT_FALSE(MeasureRaster({0, 10, 0, 1, PixelKind::Bitonal}));
  EXPECT_FALSE(MeasureRaster({10, -1, 0, 1, PixelKind::Bitonal}));
  EXPECT_FALSE(MeasureRaster({10, 10, 45, 1, PixelKind::Bitonal}));
  EXPECT_FALSE(MeasureRaster({10, 10, 0, 3, PixelKind::Bitonal}));
  EXPECT_FALSE(MeasureRaster({10, 10, 0, 2, PixelKind::Gray8}));
  EXPECT_FALSE(MeasureRaster({2000000000, 2000000000, 0, 1, PixelKind::Rgb24}));
  const auto rgb = MeasureRaster({5, 3, 90, 1, PixelKind::Rgb24});
  ASSERT_TRUE(rgb);
  EXPECT_EQ(rgb->width, 3);
  EXPECT_EQ(rgb->rows, 5);
  EXPECT_EQ(rgb->stride, 12u);
  // A destination smaller than the image is not written.
  std::vector<std::uint8_t> small(10, 0x77);
  RasterTarget target({16, 4, 0, 1, PixelKind::Bitonal}, small);
  EXPECT_FALSE(target.ok());
  DecodeRunPairRow(Pairs({0, 16}), 0, target);
  EXPECT_EQ(small, std::vector<std::uint8_t>(10, 0x77));
}

TEST(RunPairDecoder, BytesShortOfAPairAtTheRecordEndAreIgnored) {
  // Records of 4k+1, 4k+2 and 4k+3 bytes, each copied to an exactly sized buffer: the pair
  // reader must stop at the last whole pair, or the sanitizers see the bytes past the record.
  const auto whole = DecodeRows({Pairs({3, 5, 20, 4})}, 40, 0, 1, PairRule::Or);
  for (std::size_t extra = 1; extra <= 3; ++extra) {
    std::vector<std::uint8_t> record = Pairs({3, 5, 20, 4});
    record.resize(record.size() + extra, 0x01);
    record.shrink_to_fit();
    EXPECT_EQ(DecodeRows({record}, 40, 0, 1, PairRule::Or), whole) << extra << " extra bytes";
  }
}

}  // namespace
}  // namespace quillon
