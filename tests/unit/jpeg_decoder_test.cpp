#include "render/codecs/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/native/raster_oracle.h"

namespace quillon {
namespace {

struct Result {
  bool ok = false;
  std::string error;
  std::vector<std::uint8_t> image;
};

Result Decode(std::span<const std::uint8_t> stream, std::int32_t w, std::int32_t h, int rotation) {
  const RasterGeometry g{w, h, rotation, 1, PixelKind::Rgb24};
  Result r;
  r.image.assign(MeasureRaster(g)->bytes, 0xEE);
  RasterTarget target(g, r.image);
  r.ok = DecodeJpeg(stream, target, &r.error);
  return r;
}

TEST(JpegDecoder, PhotoMatchesLibjpegAtEveryRotation) {
  const std::string dir = oracle::RasterDataDir(QUILLON_SHARED_DIR);
  if (dir.empty()) GTEST_SKIP() << "shared raster data not found beside the repository";
  const auto bytes = oracle::ReadWholeFile(dir + "/photo_q85_420.jpg");
  const auto reference = oracle::DecodeJpegReference(bytes);
  ASSERT_TRUE(reference);
  ASSERT_EQ(reference->width, 4000);
  ASSERT_EQ(reference->rows, 3000);
  for (int rotation : {0, 90, 180, 270}) {
    const Result r = Decode(bytes, 4000, 3000, rotation);
    EXPECT_TRUE(r.ok) << r.error;
    // The bytes of each pixel stay in libjpeg's order.
    EXPECT_TRUE(r.image == oracle::ExpectedPixels(*reference, rotation)) << "rotation " << rotation;
  }
}

TEST(JpegDecoder, EncodedPicturesAtEveryRotation) {
  for (const auto& [w, h, progressive] : {std::tuple{97, 61, false}, std::tuple{16, 16, true},
                                          std::tuple{1, 1, false}, std::tuple{255, 3, true}}) {
    const auto stream = oracle::EncodeJpeg(oracle::SyntheticPicture(w, h, 3, 3), 80, progressive);
    const auto reference = oracle::DecodeJpegReference(stream);
    ASSERT_TRUE(reference);
    for (int rotation : {0, 90, 180, 270}) {
      const Result r = Decode(stream, w, h, rotation);
      EXPECT_TRUE(r.ok) << r.error;
      EXPECT_EQ(r.image, oracle::ExpectedPixels(*reference, rotation)) << w << "x" << h << " " << rotation;
    }
  }
}

TEST(JpegDecoder, GreyStreamGivesThreeEqualBytes) {
  const auto stream = oracle::EncodeJpeg(oracle::SyntheticPicture(20, 10, 1, 4), 90);
  const auto grey = oracle::DecodeJpegReference(stream);
  ASSERT_TRUE(grey);
  oracle::PixelImage rgb{20, 10, 3, {}};
  for (std::uint8_t v : grey->pixels) rgb.pixels.insert(rgb.pixels.end(), {v, v, v});
  const Result r = Decode(stream, 20, 10, 90);
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.image, oracle::ExpectedPixels(rgb, 90));
}

TEST(JpegDecoder, SmallerStreamLeavesTheRestZero) {
  const auto stream = oracle::EncodeJpeg(oracle::SyntheticPicture(8, 8, 3, 4), 90);
  const auto reference = oracle::DecodeJpegReference(stream);
  const Result r = Decode(stream, 10, 9, 0);
  EXPECT_TRUE(r.ok) << r.error;
  const std::size_t stride = 32;
  for (std::size_t y = 0; y < 9; ++y)
    for (std::size_t i = 0; i < stride; ++i) {
      const std::uint8_t expected = (y < 8 && i < 24) ? reference->pixels[y * 24 + i] : 0;
      ASSERT_EQ(r.image[y * stride + i], expected) << y << " " << i;
    }
}

TEST(JpegDecoder, StreamLargerThanTheRasterIsRefused) {
  const auto stream = oracle::EncodeJpeg(oracle::SyntheticPicture(64, 32, 3, 4), 90);
  const Result r = Decode(stream, 32, 32, 0);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
}

TEST(JpegDecoder, CutStreamIsReportedWithoutReadingPastIt) {
  const auto stream = oracle::EncodeJpeg(oracle::SyntheticPicture(64, 64, 3, 4), 90);
  for (std::size_t keep : {std::size_t{0}, std::size_t{2}, std::size_t{100}, stream.size() / 2,
                           stream.size() - 2}) {
    // An exactly sized copy, so that a read past it would be caught under the sanitizers.
    const std::vector<std::uint8_t> cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(keep));
    const Result r = Decode(cut, 64, 64, 270);
    EXPECT_FALSE(r.ok) << "kept " << keep;
    EXPECT_FALSE(r.error.empty());
  }
}

TEST(JpegDecoder, DamagedStreamIsReported) {
  std::vector<std::uint8_t> garbage(500, 0x33);
  const Result r = Decode(garbage, 64, 64, 0);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("JPEG"), std::string::npos) << r.error;
  // Spoiled bytes in the header and in the data: reported or decoded, never a fault.
  auto stream = oracle::EncodeJpeg(oracle::SyntheticPicture(64, 64, 3, 4), 90);
  int failures = 0;
  for (std::size_t i = 2; i < stream.size(); i += 37) {
    auto spoiled = stream;
    spoiled[i] ^= 0xFF;
    failures += Decode(spoiled, 64, 64, 180).ok ? 0 : 1;
  }
  EXPECT_GT(failures, 0);
}

TEST(JpegDecoder, WrongTargetKindDecodesNothing) {
  const auto stream = oracle::EncodeJpeg(oracle::SyntheticPicture(8, 8, 3, 4), 90);
  const RasterGeometry g{8, 8, 0, 1, PixelKind::Gray8};
  std::vector<std::uint8_t> image(MeasureRaster(g)->bytes, 0xEE);
  RasterTarget target(g, image);
  EXPECT_FALSE(DecodeJpeg(stream, target));
}

TEST(JpegDecoder, MarkerSegmentLongerThanTheRecordIsNotSkippedPastIt) {
  // An application segment declaring 0x4000 bytes where the record holds four: skipping it
  // must stop at the record's end (exactly sized, so that a skip past it is caught).
  const std::vector<std::uint8_t> stream = {0xFF, 0xD8, 0xFF, 0xE1, 0x40, 0x00, 1, 2, 3, 4};
  const Result r = Decode(stream, 8, 8, 0);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
}

}  // namespace
}  // namespace quillon
