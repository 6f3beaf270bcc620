#include "render/bitmap_halving.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/pixel_rows_text.h"

namespace quillon {
namespace {

using test::PixelRowsFromText;
using test::PixelRowsToText;

class BitmapHalvingTest : public ::testing::Test {
 protected:
  PixelRows Halve(const std::vector<std::string>& rows, PairRule rule) {
    HalvingTables tables;
    tables.Build(rule);
    source = PixelRowsFromText(rows);
    return HalveBits({source.data, source.width, source.height, source.stride, 1}, tables);
  }
  PixelRows source;
};

// Pairs: (1,0) (1,1) (0,0) (0,1) in the first row, nothing in the second.
const std::vector<std::string> kPairs = {"10110001", "00000000"};

TEST_F(BitmapHalvingTest, OrRuleSetsAPixelWhenEitherOfAPairIs) {
  const PixelRows out = Halve(kPairs, PairRule::Or);
  ASSERT_EQ(out.width, 4u);
  ASSERT_EQ(out.height, 1u);
  EXPECT_EQ(PixelRowsToText(out)[0], "1101");
}

TEST_F(BitmapHalvingTest, AndRuleNeedsBothPixelsOfAPair) {
  EXPECT_EQ(PixelRowsToText(Halve(kPairs, PairRule::And))[0], "0100");
}

TEST_F(BitmapHalvingTest, TheTwoRowsOfAPairAreOredWhateverTheRule) {
  // Under AND no pair is whole in either row, so nothing; a whole pair in row 2 counts.
  EXPECT_EQ(PixelRowsToText(Halve({"10000000", "01110000"}, PairRule::And))[0], "0100");
  EXPECT_EQ(PixelRowsToText(Halve({"10000000", "00000011"}, PairRule::Or))[0], "1001");
}

TEST_F(BitmapHalvingTest, OddSizesDropTheLastColumnAndRow) {
  const PixelRows out = Halve({"111", "000", "111"}, PairRule::Or);
  ASSERT_EQ(out.width, 1u);
  ASSERT_EQ(out.height, 1u);
  EXPECT_EQ(out.data[0], 0x80);  // the third column does not leak into the padding
}

TEST_F(BitmapHalvingTest, WideRowsUseBothTablesAcrossBytes) {
  std::string row(48, '0');
  row[16] = row[47] = '1';
  const PixelRows out = Halve({row, std::string(48, '0')}, PairRule::Or);
  ASSERT_EQ(out.width, 24u);
  std::string expected(24, '0');
  expected[8] = expected[23] = '1';
  EXPECT_EQ(PixelRowsToText(out)[0], expected);
  EXPECT_EQ(out.stride, 4u);
  EXPECT_EQ(out.data[3], 0);
}

TEST_F(BitmapHalvingTest, DensityOfAHalfCoveredChequerRisesUnderOrAndFallsUnderAnd) {
  std::vector<std::string> chequer;
  for (int y = 0; y < 8; ++y) chequer.push_back(y % 2 ? "01010101" : "10101010");
  for (const auto& row : PixelRowsToText(Halve(chequer, PairRule::Or))) EXPECT_EQ(row, "1111");
  for (const auto& row : PixelRowsToText(Halve(chequer, PairRule::And))) EXPECT_EQ(row, "0000");
}

TEST(BitmapHalvingPixelsTest, PaletteIndicesKeepTheTopLeftOfEachBlock) {
  PixelRows in;
  in.width = 4;
  in.height = 2;
  in.stride = 4;
  in.data = {1, 2, 3, 4, 5, 6, 7, 8};
  const PixelRows out = HalvePixels({in.data, 4, 2, 4, 8});
  ASSERT_EQ(out.width, 2u);
  ASSERT_EQ(out.height, 1u);
  EXPECT_EQ(out.data, (std::vector<std::uint8_t>{1, 3, 0, 0}));
  // Four bits: pixels 0 and 2 are the high nibbles of bytes 0 and 1.
  const std::vector<std::uint8_t> nibbles = {0x12, 0x34, 0, 0, 0x56, 0x78, 0, 0};
  const PixelRows half = HalvePixels({nibbles, 4, 2, 4, 4});
  ASSERT_EQ(half.width, 2u);
  EXPECT_EQ(half.data[0], 0x13);
}

TEST(BitmapHalvingPixelsTest, TrueColourChannelsAreAveraged) {
  const std::vector<std::uint8_t> in = {0,   0, 0,   255, 255, 255, 0, 0,   // row 0
                                        100, 0, 200, 101, 0,   1,   0, 0};  // row 1
  const PixelRows out = HalvePixels({in, 2, 2, 8, 24});
  ASSERT_EQ(out.width, 1u);
  EXPECT_EQ(out.data[0], (0 + 255 + 100 + 101 + 2) / 4);
  EXPECT_EQ(out.data[1], (255 + 0 + 2) / 4);
  EXPECT_EQ(out.data[2], (255 + 200 + 1 + 2) / 4);
  EXPECT_TRUE(HalvePixels({in, 2, 2, 8, 1}).data.empty());  // bits go through HalveBits
}

}  // namespace
}  // namespace quillon
