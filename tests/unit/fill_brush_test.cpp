#include "render/fill_brush.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/pattern_brush.h"
#include "render/pattern_table.h"
#include "tests/unit/interpreter_fixture.h"

namespace quillon::test {
namespace {

// Keeps a copy of every bitmap a pattern brush is made from.
class BitmapTraceDevice : public TraceDevice {
 public:
  ObjectId CreateDibPatternBrush(const DibView& dib) override {
    std::vector<std::uint8_t> bytes(dib.info.begin(), dib.info.end());
    bytes.insert(bytes.end(), dib.bits.begin(), dib.bits.end());
    brushes.push_back(std::move(bytes));
    return TraceDevice::CreateDibPatternBrush(dib);
  }
  std::vector<std::vector<std::uint8_t>> brushes;
};

class FillBrushTest : public InterpreterTest {
 protected:
  void SetUp() override {
    KpzBuilder b;
    b.BeginPage().EndPage();
    Open(b);
    st->target = &bitmaps;
  }
  // A one-bit pattern of width x height with every other row set.
  PatternEntry* Define(std::uint16_t id, std::int32_t width, std::int32_t height) {
    const std::int32_t bytesPerRow = (width + 7) / 8;
    pixels.assign(static_cast<std::size_t>(bytesPerRow) * height, 0);
    for (std::int32_t y = 0; y < height; y += 2)
      for (std::int32_t x = 0; x < bytesPerRow; ++x) pixels[y * bytesPerRow + x] = 0xFF;
    PatternRecord record;
    record.id = id;
    record.width = width;
    record.rows = height;
    record.bytesPerRow = bytesPerRow;
    record.format = 0x8010;
    record.pixels = pixels;
    return AddPattern(*st, record);
  }
  std::vector<std::string> Lines() const { return bitmaps.lines(); }

  BitmapTraceDevice bitmaps;
  std::vector<std::uint8_t> pixels;
};

TEST_F(FillBrushTest, SolidBrushAppliesItsModeAndIsValid) {
  st->fill.colour = 0x123456;
  st->fill.colourMode = 4;
  ASSERT_TRUE(SelectFillBrush(ctx, *st, 0));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"CreateSolidBrush colour=0x123456 -> brush#1",
                                               "SetROP2 9", "SelectObject brush#1 -> stock#0"}));
  EXPECT_TRUE(st->fill.valid);
  EXPECT_EQ(st->fill.brush, bitmaps.selectedBrush());
}

TEST_F(FillBrushTest, ModeBytesLowestKnownBitDecides) {
  EXPECT_EQ(MixForMode(1), gdi::kMixCopyPen);
  EXPECT_EQ(MixForMode(7), gdi::kMixCopyPen);
  EXPECT_EQ(MixForMode(6), gdi::kMixNop);
  EXPECT_EQ(MixForMode(2), gdi::kMixNop);
  EXPECT_EQ(MixForMode(4), gdi::kMixMaskPen);
  EXPECT_EQ(MixForMode(0x0C), gdi::kMixMaskPen);
  EXPECT_EQ(MixForMode(0), std::nullopt);
  EXPECT_EQ(MixForMode(0xF8), std::nullopt);
}

TEST_F(FillBrushTest, ModeWithoutKnownBitsLeavesTheMixAlone) {
  st->fill.colourMode = 8;
  SelectFillBrush(ctx, *st, 0);
  EXPECT_EQ(bitmaps.Count("SetROP2"), 0u);
}

TEST_F(FillBrushTest, EachHatchStyleGetsItsHatchInTheForegroundColour) {
  const int hatches[] = {gdi::kHatchHorizontal, gdi::kHatchVertical, gdi::kHatchFDiagonal,
                         gdi::kHatchBDiagonal,  gdi::kHatchCross,    gdi::kHatchDiagCross};
  st->fill.foreColour = 0x00FF00;
  st->fill.foreMode = 2;
  for (std::uint16_t style = 1; style <= 6; ++style) {
    bitmaps.Clear();
    st->fill.style = style;
    ASSERT_TRUE(SelectFillBrush(ctx, *st, 0));
    const auto lines = Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "SetROP2 11");  // the mode comes before the brush
    EXPECT_EQ(
        lines[1].rfind(
            "CreateHatchBrush hatch=" + std::to_string(hatches[style - 1]) + " colour=0x00FF00", 0),
        0u);
    EXPECT_TRUE(st->fill.valid);
  }
  // Each brush replaced the one before it and deleted it.
  EXPECT_EQ(bitmaps.liveObjects(), 1u);
}

TEST_F(FillBrushTest, SelectingABrushInvalidatesBothPens) {
  st->line.valid = st->outline.valid = true;
  SelectFillBrush(ctx, *st, 0);
  EXPECT_FALSE(st->line.valid);
  EXPECT_FALSE(st->outline.valid);
}

TEST_F(FillBrushTest, RefusedBrushKeepsTheOldOneAndStaysInvalid) {
  bitmaps.SetFailCreations(true);
  EXPECT_FALSE(SelectFillBrush(ctx, *st, 0));
  EXPECT_FALSE(st->fill.valid);
  EXPECT_EQ(bitmaps.Count("SelectObject"), 0u);
}

TEST_F(FillBrushTest, UnknownPatternLeavesTheBrushAndDoesNothingElse) {
  st->fill.style = 7;
  Define(8, 8, 8);
  st->line.valid = true;
  EXPECT_FALSE(SelectFillBrush(ctx, *st, 0));
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(st->line.valid);
}

TEST_F(FillBrushTest, OneBitColoursComeFromTheForegroundAndBackground) {
  PatternEntry* entry = Define(7, 8, 8);
  st->fill.style = 7;
  st->fill.foreColour = 0x0000FF;
  st->fill.backColour = 0x00FF00;
  ASSERT_TRUE(SelectFillBrush(ctx, *st, 0));
  EXPECT_EQ(ColourEntry(PatternColours(*entry), 1), 0x0000FFu);
  EXPECT_EQ(ColourEntry(PatternColours(*entry), 0), 0x00FF00u);
  EXPECT_FALSE(st->fill.valid);  // a pattern is made again for the next record
  EXPECT_EQ(bitmaps.Count("CreateDibPatternBrush"), 1u);
  EXPECT_EQ(bitmaps.Count("SetROP2 13"), 1u);  // foreground mode 1
}

TEST_F(FillBrushTest, TransparentBackgroundTakesTheDcBackgroundColour) {
  PatternEntry* entry = Define(7, 8, 8);
  st->fill.style = 7;
  st->fill.backMode = 2;
  bitmaps.SetBkColor(0x00ABCDEF);
  SelectFillBrush(ctx, *st, 0);
  EXPECT_EQ(ColourEntry(PatternColours(*entry), 0), 0x00ABCDEFu);
  // Foreground mode 1 gives R2_COPYPEN, then the see-through background R2_MASKPEN.
  EXPECT_EQ(bitmaps.LinesStartingWith("SetROP2"), std::vector<std::string>{"SetROP2 9"});
}

TEST_F(FillBrushTest, SeeThroughForegroundOfTheBackgroundColourSwapsTheModes) {
  Define(7, 8, 8);
  st->fill.style = 7;
  st->fill.foreMode = 2;
  st->fill.foreColour = st->fill.backColour = 0x00336699;
  SelectFillBrush(ctx, *st, 0);
  EXPECT_EQ(st->fill.foreMode, 1);
  EXPECT_EQ(st->fill.backMode, 2);
}

TEST_F(FillBrushTest, PatternMixRules) {
  EXPECT_EQ(PatternMix(1, 1, gdi::kRopSrcAnd), gdi::kMixCopyPen);
  EXPECT_EQ(PatternMix(2, 1, gdi::kRopSrcAnd), gdi::kMixMaskPen);
  EXPECT_EQ(PatternMix(4, 1, gdi::kRopSrcCopy), std::nullopt);
  EXPECT_EQ(PatternMix(1, 2, gdi::kRopSrcAnd), gdi::kMixMaskPen);
  EXPECT_EQ(PatternMix(1, 2, gdi::kRopSrcCopy), gdi::kMixCopyPen);
  EXPECT_EQ(PatternMix(0, 0, gdi::kRopSrcAnd), std::nullopt);
}

TEST_F(FillBrushTest, SmallPatternIsUsedAsDefinedTopDownAtAngleZero) {
  Define(7, 19, 300);
  st->fill.style = 7;
  st->zoom = 1.0 / 64;  // far out: still not reduced
  st->rotation = 90;
  SelectFillBrush(ctx, *st, 0);
  ASSERT_EQ(bitmaps.brushes.size(), 1u);
  EXPECT_EQ(DibWidth(bitmaps.brushes[0]), 19);
  EXPECT_EQ(DibHeight(bitmaps.brushes[0]), -300);  // and not turned
  // The entry itself keeps its bottom-up header.
  EXPECT_EQ(DibHeight({st->patterns.entries[0].dib, 40}), 300);
  st->fill.angle = 90;
  SelectFillBrush(ctx, *st, 0);
  EXPECT_EQ(DibHeight(bitmaps.brushes[1]), 300);
}

TEST_F(FillBrushTest, LargePatternIsReducedForTheZoomAndTurnedWithTheView) {
  Define(7, 336, 168);  // L = 8: 168/16 < 21
  st->fill.style = 7;
  st->zoom = 1.0 / 20;  // D = 20: E = min(8, 16)
  st->rotation = 270;   // angle 0 turns by 90
  SelectFillBrush(ctx, *st, 0);
  ASSERT_EQ(bitmaps.brushes.size(), 1u);
  EXPECT_EQ(DibWidth(bitmaps.brushes[0]), 21);   // 168 / 8, sides exchanged
  EXPECT_EQ(DibHeight(bitmaps.brushes[0]), 42);  // 336 / 8
  EXPECT_EQ(DibSizeImage(bitmaps.brushes[0]), 42u * 4);
}

TEST_F(FillBrushTest, PatternAtAnOddAngleIsNotTurned) {
  Define(7, 40, 60);
  st->fill.style = 7;
  st->zoom = 1;
  st->rotation = 90;
  st->fill.angle = 45;
  SelectFillBrush(ctx, *st, 0);
  ASSERT_EQ(bitmaps.brushes.size(), 1u);
  EXPECT_EQ(DibWidth(bitmaps.brushes[0]), 40);
  EXPECT_EQ(DibHeight(bitmaps.brushes[0]), 60);
}

TEST_F(FillBrushTest, HalvedOneBitPatternFollowsThePairRule) {
  Define(7, 84, 84);  // every other row set: L = 4
  st->fill.style = 7;
  st->zoom = 1.0 / 3;  // D = 3: E = 2
  SelectFillBrush(ctx, *st, 0);
  ASSERT_EQ(bitmaps.brushes.size(), 1u);
  const auto& dib = bitmaps.brushes[0];
  EXPECT_EQ(DibWidth(dib), 42);
  // Rows pair a set row with a clear one: every output row is set across its width.
  const std::size_t bitsAt = 40 + 8;
  for (int row = 0; row < 42; ++row) {
    EXPECT_EQ(dib[bitsAt + row * 8], 0xFF);
    EXPECT_EQ(dib[bitsAt + row * 8 + 5], 0xC0);  // pixels 40, 41, then padding
  }
}

TEST_F(FillBrushTest, Windows9xScreenPatternIsASolidForegroundBrush) {
  Define(7, 8, 8);
  ctx.SetPlatformFlavour(PlatformFlavour::Windows9x);
  st->fill.style = 7;
  st->fill.foreColour = 0x00000080;
  SelectFillBrush(ctx, *st, 0);
  EXPECT_EQ(bitmaps.LinesStartingWith("CreateSolidBrush"),
            std::vector<std::string>{"CreateSolidBrush colour=0x000080 -> brush#1"});
  EXPECT_EQ(bitmaps.Count("CreateDibPatternBrush"), 0u);
  EXPECT_FALSE(st->fill.valid);
}

TEST(PatternReductionTest, LargestReductionKeepsTwentyOnePixelsASide) {
  EXPECT_EQ(LargestReduction(19, 400), 1);
  EXPECT_EQ(LargestReduction(21, 21), 1);  // 21 / 2 < 21
  EXPECT_EQ(LargestReduction(41, 41), 1);
  EXPECT_EQ(LargestReduction(42, 42), 2);
  EXPECT_EQ(LargestReduction(84, 83), 2);
  EXPECT_EQ(LargestReduction(84, 84), 4);
  EXPECT_EQ(LargestReduction(168, 168), 8);
  EXPECT_EQ(LargestReduction(335, 336), 8);
  EXPECT_EQ(LargestReduction(336, 336), 16);
}

TEST(PatternReductionTest, ZoomOutRatioBoundaries) {
  EXPECT_EQ(ReductionFor(16, 1.0 / 2), 1);
  EXPECT_EQ(ReductionFor(16, 1.0 / 2.5), 2);
  EXPECT_EQ(ReductionFor(16, 1.0 / 4), 2);
  EXPECT_EQ(ReductionFor(16, 1.0 / 5), 4);
  EXPECT_EQ(ReductionFor(16, 1.0 / 8), 4);  // D = 8 exactly
  EXPECT_EQ(ReductionFor(16, 1.0 / 9), 8);
  EXPECT_EQ(ReductionFor(16, 1.0 / 16), 8);  // D = 16 exactly
  EXPECT_EQ(ReductionFor(16, 1.0 / 17), 16);
  EXPECT_EQ(ReductionFor(4, 1.0 / 100), 4);  // never beyond L
  EXPECT_EQ(ReductionFor(2, 1.0 / 8), 2);
  EXPECT_EQ(ReductionFor(16, 2.0), 1);  // zoomed in
  EXPECT_EQ(ReductionFor(16, 0.0), 1);  // no scale known
}

TEST(PatternReductionTest, TurnIsAngleMinusRotationForExactQuarterAnglesOnly) {
  EXPECT_EQ(PatternTurn(0, 0), 0);
  EXPECT_EQ(PatternTurn(0, 90), 270);
  EXPECT_EQ(PatternTurn(0, 270), 90);
  EXPECT_EQ(PatternTurn(90, 270), 180);
  EXPECT_EQ(PatternTurn(270, 90), 180);
  EXPECT_EQ(PatternTurn(45, 90), std::nullopt);
  EXPECT_EQ(PatternTurn(90.5f, 0), std::nullopt);
}

}  // namespace
}  // namespace quillon::test
