#include "render/pattern_table.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/unit/interpreter_fixture.h"

namespace quillon::test {
namespace {

KpzPattern OneBit(std::uint16_t id, std::int32_t width, std::int32_t rows, std::int32_t bytesPerRow,
                  std::vector<std::uint8_t> pixels = {}) {
  KpzPattern p;
  p.id = id;
  p.width = width;
  p.rows = rows;
  p.bytesPerRow = bytesPerRow;
  p.format = 0x8010;
  p.colours = {0x000000, 0xFFFFFF};
  p.pixels = std::move(pixels);
  return p;
}

class PatternTableTest : public InterpreterTest {
 protected:
  void Draw(KpzBuilder& b) {
    b.EndPage();
    Open(b);
    DrawScreen();
  }
};

TEST_F(PatternTableTest, TableHasRoomForTheDeclaredCountPlusOneAndStartsEmpty) {
  KpzBuilder b;
  b.PatternTableDeclaration(3).BeginPage();
  Draw(b);
  EXPECT_EQ(st->patterns.capacity, 4u);
  EXPECT_EQ(st->patterns.count, 0u);
  for (std::uint32_t i = 0; i < 4; ++i) EXPECT_EQ(st->patterns.entries[i].id, 0);
}

TEST_F(PatternTableTest, EveryDrawDefinesThePatternsAfresh) {
  KpzBuilder b;
  b.PatternTableDeclaration(1).BeginPage().PatternDefinition(OneBit(8, 8, 1, 4));
  Draw(b);
  EXPECT_EQ(st->patterns.count, 1u);
  DrawScreen();
  EXPECT_EQ(st->patterns.count, 1u);
}

TEST_F(PatternTableTest, MorePatternsThanDeclaredGrowTheTable) {
  KpzBuilder b;
  b.PatternTableDeclaration(1).BeginPage();
  for (std::uint16_t id = 7; id < 12; ++id) b.PatternDefinition(OneBit(id, 8, 1, 4));
  b.Polyline({{1, 1}});
  Draw(b);
  ASSERT_EQ(st->patterns.count, 5u);
  EXPECT_GE(st->patterns.capacity, 5u);
  for (std::uint16_t id = 7; id < 12; ++id) EXPECT_NE(FindPattern(*st, id), nullptr);
  EXPECT_EQ(dev.Count("Polyline 1 (1,1)"), 1u);
}

TEST_F(PatternTableTest, UndeclaredPatternsAreStillDefined) {
  KpzBuilder b;
  b.BeginPage().PatternDefinition(OneBit(7, 8, 1, 4));
  Draw(b);
  EXPECT_EQ(st->patterns.count, 1u);
}

TEST_F(PatternTableTest, LastDefinitionOfAnIdWins) {
  KpzBuilder b;
  b.PatternTableDeclaration(2)
      .BeginPage()
      .PatternDefinition(OneBit(7, 8, 1, 4, {0x0F}))
      .PatternDefinition(OneBit(7, 8, 1, 4, {0xF0}));
  Draw(b);
  const PatternEntry* entry = FindPattern(*st, 7);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry, &st->patterns.entries[1]);
  EXPECT_EQ(PatternBits(*entry)[0], 0xF0);
  EXPECT_EQ(FindPattern(*st, 8), nullptr);
}

TEST_F(PatternTableTest, HeaderFollowsTheFormatAndColoursAreStoredAsTwosComplement) {
  KpzBuilder b;
  KpzPattern p = OneBit(7, 10, 3, 2, {1, 2, 3, 4, 5, 6});
  p.format = 0xC010;
  p.colours = {0x00102030, 0x000000FF};
  p.value1 = -5;
  p.value2 = 77;
  b.BeginPage().PatternDefinition(p);
  Draw(b);
  const PatternEntry& e = st->patterns.entries[0];
  ASSERT_TRUE(PatternDrawable(e));
  const std::span<const std::uint8_t> dib(e.dib, e.dibSize);
  EXPECT_EQ(DibWidth(dib), 10);
  EXPECT_EQ(DibHeight(dib), 3);  // bottom-up
  EXPECT_EQ(dib[0], 40);
  EXPECT_EQ(dib[12], 1);  // planes
  EXPECT_EQ(dib[14], 1);  // bits per pixel
  EXPECT_EQ(dib[32], 2);  // colours used
  EXPECT_EQ(e.value1, -5);
  EXPECT_EQ(e.value2, 77);
  const auto colours = PatternColours(e);
  ASSERT_EQ(colours.size(), 8u);
  // 0x102030: blue 0x30, green 0x20, red 0x10, each 256 minus itself.
  EXPECT_EQ(colours[0], 0xD0);
  EXPECT_EQ(colours[1], 0xE0);
  EXPECT_EQ(colours[2], 0xF0);
  EXPECT_EQ(colours[4], 0x01);  // 256 - 0xFF
  EXPECT_EQ(colours[5], 0x00);  // 256 - 0 wraps to 0
  // Rows of 2 bytes in the record become rows of 4 in the bitmap.
  EXPECT_EQ(DibSizeImage(dib), 12u);
  const auto bits = PatternBits(e);
  ASSERT_EQ(bits.size(), 12u);
  EXPECT_EQ(std::vector<std::uint8_t>(bits.begin(), bits.end()),
            (std::vector<std::uint8_t>{1, 2, 0, 0, 3, 4, 0, 0, 5, 6, 0, 0}));
}

TEST_F(PatternTableTest, ColourCountZeroStillConsumesOneColour) {
  KpzBuilder b;
  KpzPattern p = OneBit(7, 8, 1, 4, {0xAA});
  p.colours = {};
  b.BeginPage().PatternDefinition(p).Polyline({{4, 4}});
  Draw(b);
  ASSERT_EQ(st->patterns.count, 1u);
  EXPECT_EQ(PatternBits(st->patterns.entries[0])[0], 0xAA);
  EXPECT_EQ(PatternColours(st->patterns.entries[0]).size(), 8u);  // a full two-entry table
  EXPECT_EQ(dev.Count("Polyline 1 (4,4)"), 1u);
}

TEST_F(PatternTableTest, PaletteDepthsCarryTheirWholeTableAndTrueColourNone) {
  KpzBuilder b;
  KpzPattern eight = OneBit(7, 4, 1, 4);
  eight.format = 0x8040;
  eight.colours = {0x1, 0x2, 0x3};
  KpzPattern rgb = OneBit(8, 2, 1, 8);
  rgb.format = 0x8080;
  KpzPattern other = OneBit(9, 1, 1, 4);
  other.format = 0x1234;
  b.BeginPage().PatternDefinition(eight).PatternDefinition(rgb).PatternDefinition(other);
  Draw(b);
  EXPECT_EQ(st->patterns.entries[0].colourBytes, 1024u);
  EXPECT_EQ(st->patterns.entries[0].bitCount, 8);
  EXPECT_EQ(st->patterns.entries[1].colourBytes, 0u);
  EXPECT_EQ(st->patterns.entries[1].bitCount, 24);
  EXPECT_EQ(st->patterns.entries[2].bitCount, 32);
}

TEST_F(PatternTableTest, ZeroOrOversizedPatternsAreKeptWithoutABitmap) {
  KpzBuilder b;
  b.BeginPage()
      .PatternDefinition(OneBit(7, 0, 2, 4))
      .PatternDefinition(OneBit(8, 8, 0, 4))
      .PatternDefinition(OneBit(9, -8, 1, 4))
      .PatternDefinition(OneBit(10, 1 << 20, 1, 0))
      .Polyline({{5, 5}});
  Draw(b);
  ASSERT_EQ(st->patterns.count, 4u);
  for (std::uint32_t i = 0; i < 4; ++i) EXPECT_FALSE(PatternDrawable(st->patterns.entries[i]));
  EXPECT_EQ(dev.Count("Polyline 1 (5,5)"), 1u);
}

TEST_F(PatternTableTest, NegativeRowCountOrCutPixelsEndThePage) {
  KpzBuilder b;
  b.BeginPage().PatternDefinition(OneBit(7, 8, -1, 4)).Polyline({{5, 5}});
  Draw(b);
  EXPECT_EQ(st->patterns.count, 0u);
  EXPECT_EQ(dev.Count("Polyline"), 0u);
}

TEST(PatternFormatTest, FormatCodes) {
  EXPECT_EQ(PatternFormatFor(0x8010).bitCount, 1);
  EXPECT_EQ(PatternFormatFor(0xC010).coloursUsed, 2u);
  EXPECT_EQ(PatternFormatFor(0x8020).bitCount, 4);
  EXPECT_EQ(PatternFormatFor(0xC020).coloursUsed, 16u);
  EXPECT_EQ(PatternFormatFor(0xC040).bitCount, 8);
  EXPECT_EQ(PatternFormatFor(0x8040).coloursUsed, 256u);
  EXPECT_EQ(PatternFormatFor(0xC080).bitCount, 24);
  EXPECT_EQ(PatternFormatFor(0x8080).coloursUsed, 0u);
  EXPECT_EQ(PatternFormatFor(0x0010).bitCount, 32);
}

TEST(PatternColourTest, EntriesAreBlueGreenRedAndCanBeSwapped) {
  std::vector<std::uint8_t> table(8, 0xEE);
  SetColourEntry(table, 1, 0x00112233);
  EXPECT_EQ(table[4], 0x11);
  EXPECT_EQ(table[5], 0x22);
  EXPECT_EQ(table[6], 0x33);
  EXPECT_EQ(table[7], 0);
  EXPECT_EQ(ColourEntry(table, 1), 0x00112233u);
  SetColourEntry(table, 0, 0x00112233, true);
  EXPECT_EQ(table[0], 0x33);
  EXPECT_EQ(table[2], 0x11);
  SetColourEntry(table, 2, 0x00FFFFFF);  // beyond the table: ignored
  EXPECT_EQ(table.size(), 8u);
}

}  // namespace
}  // namespace quillon::test
