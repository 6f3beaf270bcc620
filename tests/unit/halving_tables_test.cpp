#include "render/codecs/halving_tables.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(HalvingTablesTest, OrRuleSetsBitWhenEitherPixelIs) {
  HalvingTables t;
  t.Build(PairRule::Or);
  // Pairs left to right: 01 00 10 11 -> 1 0 1 1.
  EXPECT_EQ(t.high[0b01001011], 0b10110000);
  EXPECT_EQ(t.low[0b01001011], 0b00001011);
  EXPECT_EQ(t.mirroredLow[0b01001011], 0b00001101);
  EXPECT_EQ(t.mirroredHigh[0b01001011], 0b11010000);
  EXPECT_EQ(t.high[0], 0);
  EXPECT_EQ(t.low[0xFF], 0x0F);
}

TEST(HalvingTablesTest, AndRuleNeedsBothPixels) {
  HalvingTables t;
  t.Build(PairRule::And);
  EXPECT_EQ(t.high[0b01001011], 0b00010000);
  EXPECT_EQ(t.low[0b11000011], 0b00001001);
  EXPECT_EQ(t.mirroredLow[0b11000000], 0b00000001);
  EXPECT_EQ(t.mirroredHigh[0b11000000], 0b00010000);
}

TEST(HalvingTablesTest, ReverseTableMirrorsBits) {
  HalvingTables t;
  t.Build(PairRule::And);
  EXPECT_EQ(t.reverse[0x01], 0x80);
  EXPECT_EQ(t.reverse[0b11010010], 0b01001011);
  for (int b = 0; b < 256; ++b) EXPECT_EQ(t.reverse[t.reverse[b]], b);
}

}  // namespace
}  // namespace quillon
