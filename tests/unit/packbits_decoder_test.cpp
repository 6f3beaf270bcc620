#include "render/codecs/packbits_decoder.h"

#include <gtest/gtest.h>

#include <vector>

#include "render/codecs/planar_rgb_decoder.h"
#include "tests/support/native/raster_oracle.h"

namespace quillon {
namespace {

std::vector<std::uint8_t> DecodeRow(const std::vector<std::uint8_t>& record, std::int32_t width) {
  const RasterGeometry g{width, 1, 0, 1, PixelKind::Gray8};
  std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0xEE);
  RasterTarget target(g, image);
  DecodePackBits8Row(record, 0, target);
  target.Finish();
  return image;
}

TEST(PackBitsDecoder, LiteralCopiesNBytes) {
  EXPECT_EQ(DecodeRow({3, 10, 20, 30}, 4), (std::vector<std::uint8_t>{10, 20, 30, 0}));
}

TEST(PackBitsDecoder, RunRepeatsMinusNTimes) {
  EXPECT_EQ(DecodeRow({0xFD, 7, 1, 9}, 4), (std::vector<std::uint8_t>{7, 7, 7, 9}));
}

TEST(PackBitsDecoder, ControlZeroCopiesNothing) {
  EXPECT_EQ(DecodeRow({0, 2, 5, 6}, 4), (std::vector<std::uint8_t>{5, 6, 0, 0}));
}

TEST(PackBitsDecoder, MinusOneHundredTwentyEightRepeats128Times) {
  const auto image = DecodeRow({0x80, 0x42}, 130);
  for (std::size_t i = 0; i < 128; ++i) ASSERT_EQ(image[i], 0x42);
  EXPECT_EQ(image[128], 0);
  EXPECT_EQ(image[129], 0);
}

TEST(PackBitsDecoder, RowStopsAtItsWidthAndAtTheRecordEnd) {
  EXPECT_EQ(DecodeRow({0xF0, 3}, 4), (std::vector<std::uint8_t>{3, 3, 3, 3}));
  // A literal longer than the record copies what is there.
  EXPECT_EQ(DecodeRow({5, 1, 2}, 4), (std::vector<std::uint8_t>{1, 2, 0, 0}));
  EXPECT_EQ(DecodeRow({0xF0}, 4), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

std::vector<std::uint8_t> WithLead(const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> record(kRasterLeadBytes, 0xAB);
  record.insert(record.end(), data.begin(), data.end());
  return record;
}

TEST(PackBitsDecoder, WholeImageRowsEndWithZeroPadding) {
  // 5 × 2: one run across the row end, then a literal.
  const auto record = WithLead({0xF9, 4, 3, 1, 2, 3});
  const RasterGeometry g{5, 2, 0, 1, PixelKind::Gray8};
  std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0xEE);
  RasterTarget target(g, image);
  EXPECT_TRUE(DecodePackBits8Image(record, RasterLead::Present, target));
  EXPECT_EQ(image, (std::vector<std::uint8_t>{4, 4, 4, 4, 4, 0, 0, 0, 4, 4, 1, 2, 3, 0, 0, 0}));
}

TEST(PackBitsDecoder, WholeImageCutShortLeavesTheRestZero) {
  const auto record = WithLead({0xFC, 9});
  const RasterGeometry g{3, 3, 180, 1, PixelKind::Gray8};
  std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0xEE);
  RasterTarget target(g, image);
  EXPECT_FALSE(DecodePackBits8Image(record, RasterLead::Present, target));
  // Source rows 0 (9 9 9) and 1 (9 0 0) turned by 180 degrees.
  EXPECT_EQ(image, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 9, 0, 9, 9, 9, 0}));
}

// libtiff's PackBits of a picture, converted to the variant, against libtiff's decode.
TEST(PackBitsDecoder, EncodedPicturesAtEveryRotation) {
  for (const auto& [w, h] : {std::pair{203, 77}, std::pair{1, 9}, std::pair{300, 4}, std::pair{129, 129}}) {
    const oracle::PixelImage picture = oracle::SyntheticPicture(w, h, 1, static_cast<unsigned>(w));
    const auto variant = oracle::ToVariantPackBits(oracle::EncodePackBits(picture));
    for (int rotation : {0, 90, 180, 270}) {
      const RasterGeometry g{w, h, rotation, 1, PixelKind::Gray8};
      std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0xEE);
      RasterTarget target(g, image);
      EXPECT_TRUE(DecodePackBits8Image(variant, RasterLead::Absent, target));
      EXPECT_EQ(image, oracle::ExpectedPixels(picture, rotation)) << w << "x" << h << " " << rotation;
    }
  }
}

TEST(PackBitsDecoder, MixedImageMatchesLibtiff) {
  const std::string dir = oracle::RasterDataDir(QUILLON_SHARED_DIR);
  if (dir.empty()) GTEST_SKIP() << "shared raster data not found beside the repository";
  const auto tiff = oracle::ReadPackBitsTiff(dir + "/mixed_packbits.tif");
  ASSERT_TRUE(tiff);
  const auto record = WithLead(oracle::ToVariantPackBits(tiff->stream));
  for (int rotation : {0, 90, 180, 270}) {
    const RasterGeometry g{tiff->image.width, tiff->image.rows, rotation, 1, PixelKind::Gray8};
    std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0xEE);
    RasterTarget target(g, image);
    EXPECT_TRUE(DecodePackBits8Image(record, RasterLead::Present, target));
    EXPECT_TRUE(image == oracle::ExpectedPixels(tiff->image, rotation)) << "rotation " << rotation;
  }
}

TEST(PackBitsDecoder, RowRecordsAtEveryRotation) {
  const oracle::PixelImage picture = oracle::SyntheticPicture(37, 11, 1, 5);
  for (int rotation : {0, 90, 180, 270}) {
    const RasterGeometry g{37, 11, rotation, 1, PixelKind::Gray8};
    std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0xEE);
    {
      RasterTarget target(g, image);
      for (std::int32_t r = 0; r < 11; ++r) {
        oracle::PixelImage row{37, 1, 1, {}};
        row.pixels.assign(picture.pixels.begin() + r * 37, picture.pixels.begin() + (r + 1) * 37);
        DecodePackBits8Row(oracle::ToVariantPackBits(oracle::EncodePackBits(row)), r, target);
      }
    }
    EXPECT_EQ(image, oracle::ExpectedPixels(picture, rotation)) << rotation;
  }
}

// Planar RGB: each row's red, green and blue planes coded on their own.
std::vector<std::uint8_t> PlanarRow(const oracle::PixelImage& rgb, std::int32_t r) {
  std::vector<std::uint8_t> record;
  for (int plane = 0; plane < 3; ++plane) {
    oracle::PixelImage p{rgb.width, 1, 1, {}};
    for (std::int32_t x = 0; x < rgb.width; ++x)
      p.pixels.push_back(rgb.pixels[(static_cast<std::size_t>(r) * rgb.width + x) * 3 + plane]);
    const auto coded = oracle::ToVariantPackBits(oracle::EncodePackBits(p));
    record.insert(record.end(), coded.begin(), coded.end());
  }
  return record;
}

oracle::PixelImage AsBgr(oracle::PixelImage rgb) {
  for (std::size_t i = 0; i < rgb.pixels.size(); i += 3) std::swap(rgb.pixels[i], rgb.pixels[i + 2]);
  return rgb;
}

TEST(PlanarRgbDecoder, RowsAndWholeImageAtEveryRotation) {
  const oracle::PixelImage rgb = oracle::SyntheticPicture(45, 13, 3, 11);
  std::vector<std::uint8_t> whole;
  for (std::int32_t r = 0; r < 13; ++r) {
    const auto row = PlanarRow(rgb, r);
    whole.insert(whole.end(), row.begin(), row.end());
  }
  const oracle::PixelImage bgr = AsBgr(rgb);
  for (int rotation : {0, 90, 180, 270}) {
    const RasterGeometry g{45, 13, rotation, 1, PixelKind::Rgb24};
    std::vector<std::uint8_t> byRows(MeasureRaster(g)->bytes, 0xEE), byImage = byRows;
    {
      RasterTarget target(g, byRows);
      for (std::int32_t r = 0; r < 13; ++r) DecodePlanarRgbRow(PlanarRow(rgb, r), r, target);
    }
    RasterTarget target(g, byImage);
    EXPECT_TRUE(DecodePlanarRgbImage(whole, target));
    const auto expected = oracle::ExpectedPixels(bgr, rotation);
    EXPECT_EQ(byRows, expected) << rotation;
    EXPECT_EQ(byImage, expected) << rotation;
  }
}

TEST(PlanarRgbDecoder, PixelsGoOutBlueGreenRed) {
  // 2 pixels: red plane (1, 2), green (3, 4), blue (5, 6); a run's excess is dropped.
  const std::vector<std::uint8_t> record = {2, 1, 2, 0xFB, 3, 0xFE, 5};
  const RasterGeometry g{2, 1, 0, 1, PixelKind::Rgb24};
  std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0xEE);
  RasterTarget target(g, image);
  DecodePlanarRgbRow(record, 0, target);
  target.Finish();
  EXPECT_EQ(image, (std::vector<std::uint8_t>{5, 3, 1, 5, 3, 2, 0, 0}));
}

TEST(PlanarRgbDecoder, CutImageLeavesTheRestZero) {
  const std::vector<std::uint8_t> record = {0xFE, 9, 0xFE, 8, 0xFE, 7, 0xFE, 1};
  const RasterGeometry g{2, 2, 0, 1, PixelKind::Rgb24};
  std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0xEE);
  RasterTarget target(g, image);
  EXPECT_FALSE(DecodePlanarRgbImage(record, target));
  EXPECT_EQ(image, (std::vector<std::uint8_t>{7, 8, 9, 7, 8, 9, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0}));
}

}  // namespace
}  // namespace quillon
