// The reduction factor rule and the formats it applies to.

#include "render/raster_reduction.h"

#include <gtest/gtest.h>

#include "render/raster_format.h"

namespace quillon {
namespace {

TEST(RasterReductionTest, ThresholdsOfLevelZeroStepThroughEveryFactor) {
  const auto t = RasterThresholdsForLevel(0);
  // a = viewWidth / 1000 just above and at each threshold.
  EXPECT_EQ(ReductionFactorFor(t, 667, 1000, 0x1000), 1);
  EXPECT_EQ(ReductionFactorFor(t, 666, 1000, 0x1000), 2);
  EXPECT_EQ(ReductionFactorFor(t, 334, 1000, 0x1000), 2);
  EXPECT_EQ(ReductionFactorFor(t, 333, 1000, 0x1000), 4);
  EXPECT_EQ(ReductionFactorFor(t, 166, 1000, 0x1000), 8);
  EXPECT_EQ(ReductionFactorFor(t, 80, 1000, 0x1000), 16);
  EXPECT_EQ(ReductionFactorFor(t, 40, 1000, 0x1000), 32);
  EXPECT_EQ(ReductionFactorFor(t, 0, 1000, 0x1000), 32);
}

TEST(RasterReductionTest, EachLevelGivesUpOneStepOfDetail) {
  for (std::uint32_t level = 0; level <= 7; ++level) {
    const auto t = RasterThresholdsForLevel(level);
    const int finest = 1 << (level > 4 ? 4 : level);
    EXPECT_EQ(ReductionFactorFor(t, 1e6, 1000, 0x0001), finest) << level;
    EXPECT_EQ(ReductionFactorFor(t, 1, 1000, 0x0001), 32) << level;
  }
}

TEST(RasterReductionTest, OnlyReducibleFormatsFollowTheView) {
  const auto t = RasterThresholdsForLevel(0);
  for (std::uint16_t format : {0x0001, 0x1000, 0x5000, 0x4002, 0x4004, 0x6000})
    EXPECT_EQ(ReductionFactorFor(t, 100, 1000, format), 8) << format;
  for (std::uint16_t format : {0x0002, 0x0004, 0x2000, 0x8010, 0x8080})
    EXPECT_EQ(ReductionFactorFor(t, 100, 1000, format), 1) << format;
  EXPECT_EQ(ReductionFactorFor(t, 100, 0, 0x1000), 1);
}

TEST(RasterReductionTest, FormatCodesChooseTheirDecoder) {
  EXPECT_EQ(CodecOf(0x0001), RasterCodec::RunPairs);
  EXPECT_EQ(CodecOf(0x0002), RasterCodec::PlanarRgb);
  EXPECT_EQ(CodecOf(0x4002), RasterCodec::PlanarRgb);
  EXPECT_EQ(CodecOf(0x4004), RasterCodec::PackBits8);
  EXPECT_EQ(CodecOf(0x6000), RasterCodec::Jpeg);
  EXPECT_EQ(CodecOf(0x5000), RasterCodec::Group4);
  EXPECT_EQ(CodecOf(0x8020), RasterCodec::Stored);
  EXPECT_EQ(CodecOf(0x8000), RasterCodec::None);
  EXPECT_EQ(CodecOf(0x0100), RasterCodec::None);
  EXPECT_EQ(StoredBitCount(0x8080), 24);
  EXPECT_TRUE(IsPerRowFormat(0x0004));
  EXPECT_FALSE(IsPerRowFormat(0x4004));
  EXPECT_TRUE(SkipsPresentFactor(0x6000));
  EXPECT_FALSE(SkipsPresentFactor(0x1000));
}

TEST(RasterFormatTest, PresentFactorSkipListIsExactlyItsFormats) {
  // Several-resolution planar and PackBits images, several-resolution Group 4 and every JPEG
  // that is not stored: their decoded factor is never marked present.
  for (std::uint16_t format : {0x4002, 0x4004, 0x5000, 0x2000, 0x6000, 0x2001, 0x3000}) {
    EXPECT_TRUE(SkipsPresentFactor(format)) << std::hex << format;
  }
  for (std::uint16_t format : {0x0000, 0x0001, 0x0002, 0x0004, 0x1000, 0x4000, 0x4001, 0x4006,
                               0x5001, 0x8000 | 0x2000, 0x8010}) {
    EXPECT_FALSE(SkipsPresentFactor(format)) << std::hex << format;
  }
}

}  // namespace
}  // namespace quillon
