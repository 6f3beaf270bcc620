#include "render/codecs/group4_decoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/native/raster_oracle.h"

namespace quillon {
namespace {

using oracle::BitImage;

struct Decoded {
  std::vector<std::uint8_t> image;
  std::int32_t lines = 0;
};

Decoded Decode(std::span<const std::uint8_t> stream, std::int32_t width, std::int32_t rows,
               int rotation, int factor, PairRule rule, RasterLead lead = RasterLead::Absent) {
  HalvingTables tables;
  tables.Build(rule);
  RasterGeometry g{width, rows, rotation, factor, PixelKind::Bitonal};
  Decoded out;
  out.image.assign(MeasureRaster(g)->bytes, 0xA5);  // the target clears it
  RasterTarget target(g, out.image, &tables);
  EXPECT_TRUE(target.ok());
  out.lines = DecodeGroup4(stream, lead, target);
  return out;
}

// Index of the first differing byte, or -1.
std::ptrdiff_t FirstDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size()) return 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return static_cast<std::ptrdiff_t>(i);
  return -1;
}

void ExpectMatchesLibtiff(const BitImage& reference, std::span<const std::uint8_t> stream,
                          int rotation, int factor, PairRule rule) {
  const Decoded ours = Decode(stream, reference.width, reference.rows, rotation, factor, rule);
  EXPECT_EQ(ours.lines, reference.rows);
  const auto expected = oracle::ExpectedBitonal(reference, rotation, factor, rule);
  EXPECT_EQ(FirstDifference(ours.image, expected), -1)
      << reference.width << "x" << reference.rows << " rotation " << rotation << " factor "
      << factor << (rule == PairRule::Or ? " or" : " and");
}

std::string RasterData() { return oracle::RasterDataDir(QUILLON_SHARED_DIR); }

TEST(Group4Decoder, TinyStreamByHand) {
  const std::uint8_t stream[] = {0x6C, 0xC7, 0x00, 0x08, 0x80};
  const Decoded d = Decode(stream, 16, 2, 0, 1, PairRule::Or);
  EXPECT_EQ(d.lines, 2);
  // Row 0: pixels 4-7 black; row 1 white; rows padded to 4 bytes.
  const std::vector<std::uint8_t> expected = {0x0F, 0x00, 0, 0, 0x00, 0x00, 0, 0};
  EXPECT_EQ(d.image, expected);
}

TEST(Group4Decoder, TinyFileMatchesLibtiff) {
  const std::string dir = RasterData();
  if (dir.empty()) GTEST_SKIP() << "shared raster data not found beside the repository";
  const auto tiff = oracle::ReadBitonalTiff(dir + "/tiny_g4_lsb.tif");
  ASSERT_TRUE(tiff);
  const std::vector<std::uint8_t> bytes = {0x6C, 0xC7, 0x00, 0x08, 0x80};
  EXPECT_EQ(tiff->stream, bytes);
  for (int rotation : {0, 90, 180, 270})
    ExpectMatchesLibtiff(tiff->image, tiff->stream, rotation, 1, PairRule::Or);
}

TEST(Group4Decoder, LeadOfTheDataRecordIsSkipped) {
  const std::uint8_t stream[] = {0x6C, 0xC7, 0x00, 0x08, 0x80};
  std::vector<std::uint8_t> record(kRasterLeadBytes + sizeof stream, 0xFF);
  std::memcpy(record.data() + kRasterLeadBytes, stream, sizeof stream);
  const Decoded d = Decode(record, 16, 2, 0, 1, PairRule::Or, RasterLead::Present);
  EXPECT_EQ(d.lines, 2);
  EXPECT_EQ(d.image[0], 0x0F);
  // A record shorter than its lead decodes nothing.
  const std::vector<std::uint8_t> shortRecord(100, 0);
  EXPECT_EQ(Decode(shortRecord, 16, 2, 0, 1, PairRule::Or, RasterLead::Present).lines, 0);
}

// Images made with libtiff's encoder, compared with the pixel model at every rotation and
// factor, both pair rules. Odd sizes exercise partial bytes and dropped rows.
TEST(Group4Decoder, EncodedDrawingsAtEveryRotationAndFactor) {
  struct Size {
    std::int32_t w, h;
    unsigned seed;
    int density;
  };
  for (const Size s : {Size{1001, 617, 1, 3}, Size{64, 64, 2, 8}, Size{203, 97, 3, 20},
                       Size{1, 1, 4, 1}, Size{9, 40, 5, 30}, Size{333, 1, 6, 5}}) {
    const BitImage image = oracle::SyntheticDrawing(s.w, s.h, s.seed, s.density);
    const auto stream = oracle::EncodeGroup4(image);
    ASSERT_FALSE(stream.empty());
    for (int rotation : {0, 90, 180, 270})
      for (int factor : {1, 2, 4, 8, 16, 32})
        for (PairRule rule : {PairRule::Or, PairRule::And})
          ExpectMatchesLibtiff(image, stream, rotation, factor, rule);
  }
}

TEST(Group4Decoder, LongRunsUseMakeUpCodes) {
  // Runs beyond 2560 need several make-up codes; all-black and all-white rows too.
  BitImage image(9000, 6);
  for (std::int32_t x = 0; x < 9000; ++x) image.Set(x, 1);
  for (std::int32_t x = 100; x < 8000; ++x) image.Set(x, 3);
  for (std::int32_t x = 0; x < 9000; x += 4) image.Set(x, 4);
  image.Set(8999, 5);
  const auto stream = oracle::EncodeGroup4(image);
  for (int rotation : {0, 90, 180, 270}) ExpectMatchesLibtiff(image, stream, rotation, 1, PairRule::Or);
}

TEST(Group4Decoder, DenseDrawingMatchesLibtiffAtEveryRotation) {
  const std::string dir = RasterData();
  if (dir.empty()) GTEST_SKIP() << "shared raster data not found beside the repository";
  const auto tiff = oracle::ReadBitonalTiff(dir + "/drawing_g4_lsb.tif");
  ASSERT_TRUE(tiff);
  EXPECT_EQ(tiff->image.width, 7000);
  EXPECT_EQ(tiff->image.rows, 5000);
  EXPECT_EQ(tiff->stream.size(), 611506u);
  EXPECT_TRUE(tiff->warnings.empty()) << tiff->warnings;
  for (int rotation : {0, 90, 180, 270})
    ExpectMatchesLibtiff(tiff->image, tiff->stream, rotation, 1, PairRule::Or);
}

TEST(Group4Decoder, DenseDrawingReducedAtEveryFactor) {
  const std::string dir = RasterData();
  if (dir.empty()) GTEST_SKIP() << "shared raster data not found beside the repository";
  const auto tiff = oracle::ReadBitonalTiff(dir + "/drawing_g4_lsb.tif");
  ASSERT_TRUE(tiff);
  for (int factor : {2, 4, 8, 16, 32}) {
    ExpectMatchesLibtiff(tiff->image, tiff->stream, factor == 2 ? 180 : 90, factor, PairRule::Or);
    ExpectMatchesLibtiff(tiff->image, tiff->stream, factor == 2 ? 0 : 270, factor, PairRule::And);
  }
}

TEST(Group4Decoder, SparseDrawingMatchesLibtiff) {
  const std::string dir = RasterData();
  if (dir.empty()) GTEST_SKIP() << "shared raster data not found beside the repository";
  const auto tiff = oracle::ReadBitonalTiff(dir + "/sparse_g4_lsb.tif");
  ASSERT_TRUE(tiff);
  ExpectMatchesLibtiff(tiff->image, tiff->stream, 270, 1, PairRule::Or);
  ExpectMatchesLibtiff(tiff->image, tiff->stream, 0, 4, PairRule::Or);
}

TEST(Group4Decoder, CutStreamLeavesTheRemainingRowsWhite) {
  const BitImage image = oracle::SyntheticDrawing(300, 200, 7, 10);
  const auto stream = oracle::EncodeGroup4(image);
  const std::span<const std::uint8_t> half(stream.data(), stream.size() / 2);
  const Decoded d = Decode(half, 300, 200, 0, 1, PairRule::Or);
  ASSERT_GT(d.lines, 0);
  ASSERT_LT(d.lines, 200);
  const std::size_t stride = 40;  // 300 pixels: 38 bytes padded to 40
  const auto full = oracle::ExpectedBitonal(image, 0, 1, PairRule::Or);
  const std::size_t done = static_cast<std::size_t>(d.lines) * stride;
  EXPECT_TRUE(std::equal(d.image.begin(), d.image.begin() + static_cast<std::ptrdiff_t>(done), full.begin()));
  for (std::size_t i = done; i < d.image.size(); ++i) ASSERT_EQ(d.image[i], 0) << "byte " << i;
}

TEST(Group4Decoder, DamageEndsDecodingWithoutFault) {
  const BitImage image = oracle::SyntheticDrawing(500, 300, 8, 10);
  auto stream = oracle::EncodeGroup4(image);
  for (std::size_t i = 0; i < stream.size(); i += 97) {
    auto damaged = stream;
    damaged[i] ^= 0x5A;
    const Decoded d = Decode(damaged, 500, 300, 90, 1, PairRule::Or);
    EXPECT_LE(d.lines, 300);
  }
  // Extension and end-of-line codes: a stream of 0 bits ends at once.
  const std::vector<std::uint8_t> zeros(64, 0);
  EXPECT_EQ(Decode(zeros, 500, 300, 0, 1, PairRule::Or).lines, 0);
}

TEST(Group4Decoder, StreamMadeForAWiderImageEndsDecoding) {
  const BitImage image = oracle::SyntheticDrawing(400, 50, 9, 10);
  const auto stream = oracle::EncodeGroup4(image);
  // Read as a narrower image, the first line overruns its width.
  EXPECT_EQ(Decode(stream, 200, 50, 0, 1, PairRule::Or).lines, 0);
}

TEST(Group4Decoder, LineWithMoreChangesThanTheLimitEndsDecoding) {
  // Alternate pixels give width changing elements on one line.
  const std::int32_t width = 2 * static_cast<std::int32_t>(kGroup4MaxChanges) + 16;
  BitImage image(width, 3);
  for (std::int32_t x = 0; x < 200; x += 2) image.Set(x, 0);
  for (std::int32_t x = 0; x < width; x += 2) image.Set(x, 1);
  const auto stream = oracle::EncodeGroup4(image);
  const Decoded d = Decode(stream, width, 3, 0, 1, PairRule::Or);
  EXPECT_EQ(d.lines, 1);
  // Up to the limit itself a line decodes.
  BitImage fits(2 * static_cast<std::int32_t>(kGroup4MaxChanges), 2);
  for (std::int32_t x = 1; x < static_cast<std::int32_t>(kGroup4MaxChanges); x += 2) fits.Set(x, 0);
  EXPECT_EQ(Decode(oracle::EncodeGroup4(fits), fits.width, 2, 0, 1, PairRule::Or).lines, 2);
}

TEST(Group4Decoder, StopsAfterTheImageRows) {
  const BitImage image = oracle::SyntheticDrawing(120, 80, 10, 10);
  const auto stream = oracle::EncodeGroup4(image);
  const Decoded d = Decode(stream, 120, 30, 0, 1, PairRule::Or);
  EXPECT_EQ(d.lines, 30);
  BitImage top(120, 30);
  std::memcpy(top.bits.data(), image.bits.data(), top.bits.size());
  EXPECT_EQ(d.image, oracle::ExpectedBitonal(top, 0, 1, PairRule::Or));
}

TEST(Group4Decoder, RefillNeverReadsPastAStreamOfAnyLength) {
  // The refill reads eight bytes at a time while eight remain: every length of the stream's
  // first and last bytes, in exactly sized copies, puts each remainder at its end once.
  const BitImage image = oracle::SyntheticDrawing(64, 24, 3, 5);
  const auto stream = oracle::EncodeGroup4(image);
  ASSERT_GT(stream.size(), 48u);
  std::vector<std::size_t> lengths;
  for (std::size_t n = 1; n <= 24; ++n) lengths.push_back(n);
  for (std::size_t n = stream.size() - 24; n <= stream.size(); ++n) lengths.push_back(n);
  for (std::size_t n : lengths) {
    const std::vector<std::uint8_t> cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(n));
    const Decoded d = Decode(cut, 64, 24, 0, 1, PairRule::Or);
    if (n == stream.size()) {
      EXPECT_EQ(d.lines, 24);
    } else {
      EXPECT_LE(d.lines, 24) << n << " bytes";
    }
  }
}

}  // namespace
}  // namespace quillon
