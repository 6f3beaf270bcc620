// Raster records through the interpreter into a TraceDevice: header, corner and box by
// rotation, pending records, the cache and its factors, colour tables, passes and bands, and
// which JPEG rasters are offered to the device as their streams.

#include "render/raster_records.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "render/raster_cache.h"
#include "tests/support/native/raster_oracle.h"
#include "tests/unit/interpreter_fixture.h"

namespace quillon {
namespace {

using test::InterpreterTest;

std::int32_t I32At(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}
std::uint16_t U16At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
// Colour table entry i of a kept call as 0x00RRGGBB.
std::uint32_t TableEntry(const TraceDevice::DibCall& call, std::size_t i) {
  const std::uint8_t* q = call.info.data() + 40 + 4 * i;
  return (std::uint32_t{q[2]} << 16) | (std::uint32_t{q[1]} << 8) | q[0];
}
std::size_t TableSize(const TraceDevice::DibCall& call) { return (call.info.size() - 40) / 4; }

std::vector<std::uint8_t> Pairs(std::initializer_list<std::uint16_t> values) {
  std::vector<std::uint8_t> out;
  for (std::uint16_t v : values) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  return out;
}

// A page of 1000 × 500 dots.
KpzBuilder Page() {
  KpzBuilder b;
  b.PageSize(1.0, 0.5, 1000);
  return b;
}

// A bitonal run-pair raster of `rows` rows, each row with pixels [2, 5) set, placed at
// (100, 50) in a box of `w` × `h` dots.
KpzRasterHeader RunPairHeader(std::int32_t rows, std::int32_t width = 16, std::int32_t w = 160,
                              std::int32_t h = 40) {
  KpzRasterHeader header;
  header.flags = 0x80;
  header.foreColour = 0x000000;
  header.backColour = 0xFFFFFF;
  header.x = 100;
  header.y = 50;
  header.x1 = 100;
  header.y1 = 50;
  header.x2 = 100 + w;
  header.y2 = 50 + h;
  header.rows = rows;
  header.bytesPerRow = (width + 7) / 8;
  header.width = width;
  header.format = 0x0001;
  return header;
}

void AddRunPairRaster(KpzBuilder& b, const KpzRasterHeader& header) {
  b.RasterHeader(header);
  for (std::int32_t r = 0; r < header.rows; ++r) b.RasterData(Pairs({2, 3}));
}

class RasterRecordsTest : public InterpreterTest {
 protected:
  RasterRecordsTest() { dev.SetKeepDibs(true); }
  void Draw(int rotation = 0, double viewWidth = 1000) {
    st->rotation = rotation;
    dev.Clear();
    calls0 = dev.dibCalls().size();
    DrawScreen(viewWidth, viewWidth);
  }
  // Kept StretchDIBits calls of the last draw.
  std::vector<TraceDevice::DibCall> Calls() const {
    return {dev.dibCalls().begin() + static_cast<std::ptrdiff_t>(calls0), dev.dibCalls().end()};
  }
  RasterCacheEntry& Entry() { return *ctx.rasterState().entry; }
  std::size_t calls0 = 0;
};

TEST_F(RasterRecordsTest, BitonalRasterPaintsOneBitImageWithBackgroundAndForegroundEntries) {
  KpzBuilder b = Page();
  KpzRasterHeader header = RunPairHeader(4);
  header.foreColour = 0x123456;
  header.backColour = 0xABCDEF;
  b.BeginPage();
  AddRunPairRaster(b, header);
  b.EndPage();
  Open(b);
  Draw();
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  const auto& c = calls[0];
  EXPECT_EQ(I32At(c.info, 0), 40);
  EXPECT_EQ(I32At(c.info, 4), 16);  // width
  EXPECT_EQ(I32At(c.info, 8), 4);   // band rows
  EXPECT_EQ(U16At(c.info, 12), 1);
  EXPECT_EQ(U16At(c.info, 14), 1);   // bit count
  EXPECT_EQ(I32At(c.info, 20), 16);  // 4 rows of 4 bytes
  EXPECT_EQ(I32At(c.info, 32), 2);   // colours used
  ASSERT_EQ(TableSize(c), 2u);
  EXPECT_EQ(TableEntry(c, 0), 0xABCDEFu);
  EXPECT_EQ(TableEntry(c, 1), 0x123456u);
  // Pixels 2..4 of every row: 0b0011'1000.
  ASSERT_EQ(c.bits.size(), 16u);
  for (int r = 0; r < 4; ++r) EXPECT_EQ(c.bits[4 * r], 0x38) << r;
  EXPECT_EQ(c.rop, gdi::kRopSrcCopy);
  EXPECT_EQ(dev.Count("SetStretchBltMode 1"), 1u);  // BLACKONWHITE for one bit
  // Box: x 100, 160 wide; 4 rows over 40 dots: drawn upward from 90, 40 high.
  EXPECT_EQ(c.x, 100);
  EXPECT_EQ(c.width, 160);
  EXPECT_EQ(c.y, 90);
  EXPECT_EQ(c.height, -40);
  EXPECT_EQ(c.srcWidth, 16);
  EXPECT_EQ(c.srcHeight, 4);
}

TEST_F(RasterRecordsTest, EqualColoursComplementTheOpaqueEntry) {
  KpzBuilder b = Page();
  KpzRasterHeader header = RunPairHeader(1);
  header.foreColour = header.backColour = 0x00FF00;
  KpzRasterHeader second = header;
  second.flags |= 0x08;  // the foreground is the transparent one
  b.BeginPage();
  AddRunPairRaster(b, header);
  AddRunPairRaster(b, second);
  b.EndPage();
  Open(b);
  Draw();
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(TableEntry(calls[0], 0), 0x00FF00u);
  EXPECT_EQ(TableEntry(calls[0], 1), 0xFF00FFu);
  EXPECT_EQ(TableEntry(calls[1], 0), 0xFF00FFu);
  EXPECT_EQ(TableEntry(calls[1], 1), 0x00FF00u);
}

TEST_F(RasterRecordsTest, CornerAndBoxFollowTheRotation) {
  // Page 1000 × 500; raster placed at (100, 50), box 160 × 40, 4 rows × 16 pixels.
  struct Case {
    int rotation;
    int x, y, width, height, imageWidth, imageRows;
  };
  // 90: point (500 - 50, 100) = (450, 100), moved left by h = 40; box 40 × 160.
  // 180: (900, 450) - (160, 40). 270: (50, 900) moved up by w = 160.
  const Case cases[] = {{0, 100, 50, 160, 40, 16, 4},
                        {90, 410, 100, 40, 160, 4, 16},
                        {180, 740, 410, 160, 40, 16, 4},
                        {270, 50, 740, 40, 160, 4, 16}};
  for (const Case& k : cases) {
    KpzBuilder b = Page();
    b.BeginPage();
    AddRunPairRaster(b, RunPairHeader(4));
    b.EndPage();
    ctx.CloseDocument();
    Open(b);
    Draw(k.rotation);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u) << k.rotation;
    const auto& c = calls[0];
    EXPECT_EQ(c.x, k.x) << k.rotation;
    EXPECT_EQ(c.width, k.width) << k.rotation;
    EXPECT_EQ(c.y + c.height, k.y) << k.rotation;  // the band is drawn upward from y
    EXPECT_EQ(-c.height, k.height) << k.rotation;
    EXPECT_EQ(I32At(c.info, 4), k.imageWidth) << k.rotation;
    EXPECT_EQ(c.srcHeight, k.imageRows) << k.rotation;
  }
}

TEST_F(RasterRecordsTest, BandsOfFortyRowsWithUnroundedSteps) {
  // 100 rows over 250 dots: s = 2.5, bands of 40, 40, 20 rows.
  KpzBuilder b = Page();
  KpzRasterHeader header = RunPairHeader(100, 16, 160, 250);
  header.y = 7;
  b.BeginPage();
  AddRunPairRaster(b, header);
  b.EndPage();
  Open(b);
  Draw();
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].y, 107);
  EXPECT_EQ(calls[0].height, -100);
  EXPECT_EQ(calls[1].y, 207);
  EXPECT_EQ(calls[1].height, -100);
  EXPECT_EQ(calls[2].y, 257);
  EXPECT_EQ(calls[2].height, -50);
  EXPECT_EQ(calls[2].srcHeight, 20);
  EXPECT_EQ(I32At(calls[2].info, 8), 20);
  EXPECT_EQ(I32At(calls[2].info, 20), 80);
  EXPECT_EQ(calls[1].bits.size(), 160u);

  // s = 1/3: Y(0) = 7 + 13.33; trunc(20.38) = 20, height -trunc(20.33 - 7 + 0.5) = -13.
  KpzBuilder c = Page();
  KpzRasterHeader third = RunPairHeader(120, 16, 160, 40);
  third.y = 7;
  c.BeginPage();
  AddRunPairRaster(c, third);
  c.EndPage();
  ctx.CloseDocument();
  Open(c);
  Draw();
  const auto steps = Calls();
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0].y, 20);
  EXPECT_EQ(steps[0].height, -13);
  EXPECT_EQ(steps[1].y, 33);  // Y(1) = 33.67 over the previous 20
  EXPECT_EQ(steps[1].height, -14);
  EXPECT_EQ(steps[2].y, 47);
  EXPECT_EQ(steps[2].height, -14);
}

TEST_F(RasterRecordsTest, FailingBandEndsTheFullBandsButNotTheLastOne) {
  KpzBuilder b = Page();
  b.BeginPage();
  AddRunPairRaster(b, RunPairHeader(100, 16, 160, 100));
  b.EndPage();
  Open(b);
  dev.SetFailStretchFrom(1);
  Draw();
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 3u);  // band 0, failing band 1, then the 20-row band
  EXPECT_EQ(calls[2].srcHeight, 20);
  EXPECT_EQ(calls[2].y, 150);
  EXPECT_EQ(calls[2].height, -(150 - 90));  // from the last band that was painted
}

TEST_F(RasterRecordsTest, TransparentRasterPaintsMaskThenColours) {
  KpzBuilder b = Page();
  KpzRasterHeader header = RunPairHeader(2);
  header.flags |= 0x04;
  header.foreColour = 0x0000FF;
  header.backColour = 0xFFFFFF;
  b.BeginPage();
  AddRunPairRaster(b, header);
  b.EndPage();
  Open(b);
  Draw();
  EXPECT_EQ(dev.Count("QueryEscapeSupport 4115"), 1u);
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].rop, gdi::kRopSrcAnd);
  EXPECT_EQ(TableEntry(calls[0], 0), 0xFFFFFFu);  // transparent background: white
  EXPECT_EQ(TableEntry(calls[0], 1), 0x000000u);
  EXPECT_EQ(calls[1].rop, gdi::kRopSrcPaint);
  EXPECT_EQ(TableEntry(calls[1], 0), 0x000000u);
  EXPECT_EQ(TableEntry(calls[1], 1), 0x0000FFu);
}

TEST_F(RasterRecordsTest, TransparentRasterOnPostScriptIsOnePass) {
  KpzBuilder b = Page();
  KpzRasterHeader header = RunPairHeader(2);
  header.flags |= 0x04;
  b.BeginPage();
  AddRunPairRaster(b, header);
  b.EndPage();
  Open(b);
  dev.SetPostScript(true);
  Draw();
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].rop, gdi::kRopSrcCopy);
}

TEST_F(RasterRecordsTest, OpaqueRasterPreferenceIgnoresTransparency) {
  test::FakeDocumentPlatform platform2;
  DrawContext opaque{platform2, 1, 0};
  KpzBuilder b = Page();
  KpzRasterHeader header = RunPairHeader(2);
  header.flags |= 0x04;
  b.BeginPage();
  AddRunPairRaster(b, header);
  b.EndPage();
  platform2.AddFile("plot.kpz", b.Build());
  ASSERT_EQ(opaque.OpenDocument("plot.kpz", 800, 600), 0);
  opaque.DrawDocument(&dev, 0, 1000, 1000, 0, 0, "plot.kpz", 0);
  ASSERT_EQ(dev.dibCalls().size(), 1u);
  EXPECT_EQ(dev.dibCalls()[0].rop, gdi::kRopSrcCopy);
  EXPECT_EQ(dev.Count("QueryEscapeSupport"), 0u);
}

TEST_F(RasterRecordsTest, EightBitRowsUsePaletteAndColourCountZeroStillReadsOneColour) {
  KpzBuilder b = Page();
  KpzRasterHeader header;
  header.flags = 0x80;
  header.x2 = 30;
  header.y2 = 20;
  header.rows = 2;
  header.width = 3;
  header.bytesPerRow = 3;
  header.format = 0x0004;
  header.colours = {0x102030, 0x405060, 0x708090};
  KpzRasterHeader zero = header;
  zero.colours = {};
  zero.rows = 1;
  const std::uint8_t row0[] = {3, 0, 1, 2}, row1[] = {0xFE, 2};  // literal 0 1 2; run of 2s
  b.BeginPage().RasterHeader(header).RasterData(row0).RasterData(row1);
  b.RasterHeader(zero).RasterData(row0).Polyline({{1, 2}}).EndPage();
  Open(b);
  Draw();
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 2u);
  const auto& c = calls[0];
  EXPECT_EQ(U16At(c.info, 14), 8);
  EXPECT_EQ(I32At(c.info, 32), 3);
  ASSERT_EQ(TableSize(c), 3u);
  EXPECT_EQ(TableEntry(c, 0), 0x102030u);
  EXPECT_EQ(TableEntry(c, 2), 0x708090u);
  ASSERT_EQ(c.bits.size(), 8u);  // rows padded to 4 bytes
  EXPECT_EQ(std::vector<std::uint8_t>(c.bits.begin(), c.bits.begin() + 4),
            (std::vector<std::uint8_t>{0, 1, 2, 0}));
  EXPECT_EQ(std::vector<std::uint8_t>(c.bits.begin() + 4, c.bits.end()),
            (std::vector<std::uint8_t>{2, 2, 0, 0}));
  EXPECT_EQ(dev.Count("SetStretchBltMode 3"), 2u);
  EXPECT_EQ(TableSize(calls[1]), 1u);  // the one colour of a count of 0
  EXPECT_EQ(dev.Count("Polyline 1 (1,2)"), 1u);
}

TEST_F(RasterRecordsTest, DataWithNothingPendingIsPassedOver) {
  KpzBuilder b = Page();
  const auto pairs = Pairs({0, 4});
  b.BeginPage().RasterData(pairs);  // before any header
  AddRunPairRaster(b, RunPairHeader(2));
  b.RasterData(pairs).Polyline({{3, 4}}).EndPage();  // one too many
  Open(b);
  Draw();
  EXPECT_EQ(Calls().size(), 1u);
  EXPECT_EQ(dev.Count("Polyline 1 (3,4)"), 1u);
}

TEST_F(RasterRecordsTest, RasterIsPaintedOnlyWhenItsLastRecordArrives) {
  KpzBuilder b = Page();
  b.BeginPage().RasterHeader(RunPairHeader(3)).RasterData(Pairs({0, 1})).RasterData(Pairs({0, 1}));
  b.EndPage();
  Open(b);
  Draw();
  EXPECT_EQ(Calls().size(), 0u);
}

TEST_F(RasterRecordsTest, AbsurdSizesSkipTheRasterNotThePlot) {
  KpzBuilder b = Page();
  KpzRasterHeader huge = RunPairHeader(3);
  huge.width = 0x7FFFFFF0;
  huge.rows = 0x7FFFFFF0;
  huge.flags = 0;  // one record
  huge.format = 0x1000;
  const std::vector<std::uint8_t> data(1100, 0);
  KpzRasterHeader negative = RunPairHeader(2);
  negative.width = -5;
  b.BeginPage().RasterHeader(huge).RasterData(data);
  AddRunPairRaster(b, negative);
  b.Polyline({{5, 6}}).EndPage();
  Open(b);
  Draw();
  EXPECT_EQ(Calls().size(), 0u);
  EXPECT_EQ(dev.Count("Polyline 1 (5,6)"), 1u);
  EXPECT_EQ(st->rasterOrdinal, 1);
}

TEST_F(RasterRecordsTest, HundredRowsAtFactorEightGiveTwelveRows) {
  KpzBuilder b = Page();
  b.BeginPage();
  AddRunPairRaster(b, RunPairHeader(100, 64, 160, 100));
  b.EndPage();
  Open(b);
  // a = viewWidth / 64 = 0.1: above t4 (0.08), so factor 8.
  Draw(0, 6.4);
  EXPECT_EQ(st->reductionFactor, 8);
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].srcHeight, 12);
  EXPECT_EQ(calls[0].srcWidth, 8);
  EXPECT_EQ(Entry().present, 8);
}

TEST_F(RasterRecordsTest, RepaintUsesCacheAndFactorsSwitchThroughKeptCopies) {
  KpzBuilder b = Page();
  b.BeginPage();
  AddRunPairRaster(b, RunPairHeader(64, 64, 160, 100));
  b.EndPage();
  Open(b);
  Draw(0, 1000);  // factor 1
  EXPECT_EQ(st->reductionFactor, 1);
  const std::uint8_t* full = CurrentImage(Entry()).bits;
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(Entry().present, 1);
  Draw(0, 1000);
  EXPECT_EQ(CurrentImage(Entry()).bits, full);  // not decoded again
  EXPECT_EQ(Calls().size(), 2u);                // but painted (40 + 24 rows)

  Draw(0, 20);  // a = 0.31: factor 4
  EXPECT_EQ(st->reductionFactor, 4);
  const std::uint8_t* quarter = CurrentImage(Entry()).bits;
  EXPECT_EQ(Entry().kept[0].bits, quarter);
  EXPECT_EQ(Entry().present & 4, 4);
  ASSERT_EQ(Calls().size(), 1u);
  EXPECT_EQ(Calls()[0].srcHeight, 16);

  Draw(0, 1000);  // back to 1: decoded again, the copy at 4 stays
  EXPECT_EQ(Entry().lastFactor, 1);
  EXPECT_EQ(Entry().kept[0].bits, quarter);
  EXPECT_EQ(CurrentImage(Entry()).factor, 1);
  EXPECT_EQ(Calls().size(), 2u);

  Draw(0, 20);  // the kept copy becomes the current image
  EXPECT_EQ(CurrentImage(Entry()).bits, quarter);
  EXPECT_EQ(Entry().own.bits, nullptr);  // the full image was freed
  EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(RasterRecordsTest, MaxRasterZoomLevelSetsTheFinestFactor) {
  for (std::uint32_t level : {0u, 2u, 7u}) {
    test::FakeDocumentPlatform platform2;
    DrawContext limited{platform2, 0, level};
    KpzBuilder b = Page();
    b.BeginPage();
    AddRunPairRaster(b, RunPairHeader(64, 64, 160, 100));
    b.EndPage();
    platform2.AddFile("plot.kpz", b.Build());
    ASSERT_EQ(limited.OpenDocument("plot.kpz", 800, 600), 0);
    limited.DrawDocument(&dev, 0, 1000, 1000, 0, 0, "plot.kpz", 0);
    const int want = level == 0 ? 1 : level == 2 ? 4 : 16;
    EXPECT_EQ(limited.state()->reductionFactor, want) << level;
  }
}

TEST_F(RasterRecordsTest, RotationResetDecodesAgainTurned) {
  KpzBuilder b = Page();
  b.BeginPage();
  AddRunPairRaster(b, RunPairHeader(4));
  b.EndPage();
  Open(b);
  Draw(0);
  const std::uint8_t* before = CurrentImage(Entry()).bits;
  EXPECT_EQ(CurrentImage(Entry()).width, 16);
  st->rasterCacheResetPending = 1;
  Draw(270);
  EXPECT_EQ(st->rasterCacheResetPending, 0u);
  EXPECT_EQ(CurrentImage(Entry()).width, 4);
  EXPECT_EQ(CurrentImage(Entry()).rows, 16);
  // 270: source column j goes to row 15 - j; pixels 2..4 set in all 4 source rows.
  const auto c = Calls().at(0);
  for (int y = 0; y < 16; ++y) {
    const bool set = y >= 11 && y <= 13;
    EXPECT_EQ(c.bits[4 * y], set ? 0xF0 : 0x00) << y;
  }
  (void)before;
}

TEST_F(RasterRecordsTest, PrintingDecodesAtFullSize) {
  KpzBuilder b = Page();
  b.BeginPage();
  AddRunPairRaster(b, RunPairHeader(64, 64, 160, 100));
  b.EndPage();
  Open(b);
  Draw(0, 20);
  EXPECT_EQ(st->reductionFactor, 4);
  dev.Clear();
  const std::size_t before = dev.dibCalls().size();
  DrawPrint();
  ASSERT_EQ(dev.dibCalls().size(), before + 2);
  EXPECT_EQ(dev.dibCalls()[before].srcWidth, 64);
  EXPECT_EQ(st->reductionFactor, 1);
  EXPECT_EQ(Entry().lastFactor, 1);
  Draw(0, 20);  // the kept copy at 4 is used again
  ASSERT_EQ(Calls().size(), 1u);
  EXPECT_EQ(Calls()[0].srcWidth, 16);
}

// A heap that refuses blocks below a size once armed: the painting's header block.
class SmallBlockRefusingPlatform : public test::FakeDocumentPlatform {
 public:
  class Heap : public DocumentHeap {
   public:
    explicit Heap(const bool& armed) : armed_(armed) {}
    ~Heap() override {
      for (void* p : blocks_) std::free(p);
    }
    void* Allocate(std::size_t bytes) override {
      if (armed_ && bytes < 64) return nullptr;
      void* p = std::calloc(bytes ? bytes : 1, 1);
      if (p) blocks_.push_back(p);
      return p;
    }
    void Free(void* block) override {
      for (auto it = blocks_.begin(); it != blocks_.end(); ++it)
        if (*it == block) {
          std::free(block);
          blocks_.erase(it);
          return;
        }
    }

   private:
    const bool& armed_;
    std::vector<void*> blocks_;
  };
  std::unique_ptr<DocumentHeap> CreateHeap(std::size_t) override {
    return std::make_unique<Heap>(armed);
  }
  bool armed = false;
};

TEST_F(RasterRecordsTest, NoMemoryForTheBitmapHeaderShowsHeapAllocError) {
  SmallBlockRefusingPlatform platform2;
  DrawContext c{platform2, 0, 0};
  KpzBuilder b = Page();
  b.BeginPage();
  AddRunPairRaster(b, RunPairHeader(4));
  b.Polyline({{7, 8}}).EndPage();
  platform2.AddFile("plot.kpz", b.Build());
  ASSERT_EQ(c.OpenDocument("plot.kpz", 800, 600), 0);
  c.DrawDocument(&dev, 0, 1000, 1000, 0, 0, "plot.kpz", 0);
  EXPECT_EQ(dev.dibCalls().size(), 1u);
  EXPECT_TRUE(platform2.messages.empty());
  platform2.armed = true;  // the image is cached; only the header block is asked for
  c.DrawDocument(&dev, 0, 1000, 1000, 0, 0, "plot.kpz", 0);
  EXPECT_EQ(dev.dibCalls().size(), 1u);
  ASSERT_EQ(platform2.messages.size(), 1u);
  EXPECT_EQ(platform2.messages[0], "Heap Alloc Error");
  EXPECT_EQ(dev.Count("Polyline 1 (7,8)"), 2u);
}

TEST_F(RasterRecordsTest, StoredBitmapIsPaintedFromTheRecordWhenItHoldsAllRows) {
  KpzBuilder b = Page();
  KpzRasterHeader header;
  header.x2 = 20;
  header.y2 = 20;
  header.rows = 2;
  header.width = 5;
  header.bytesPerRow = 8;
  header.format = 0x8040;  // 8 bits, rows as they are
  header.colours = {0xFF0000, 0x00FF00};
  const std::vector<std::uint8_t> rows(16, 1), cut(12, 1);
  b.BeginPage().RasterHeader(header).RasterData(rows).RasterHeader(header).RasterData(cut);
  b.EndPage();
  Open(b);
  Draw(90);  // never turned
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);  // the cut one is not painted
  EXPECT_EQ(I32At(calls[0].info, 4), 5);
  EXPECT_EQ(calls[0].srcHeight, 2);
  EXPECT_EQ(TableSize(calls[0]), 2u);
}

TEST_F(RasterRecordsTest, SeveralResolutionsDecodeTheLevelOfTheFactor) {
  // 8-bit whole image 8 × 8 after a 1024-byte lead; level 2 (factor 4) is 2 × 2.
  KpzBuilder b = Page();
  KpzRasterHeader header;
  header.x2 = 80;
  header.y2 = 80;
  header.rows = 8;
  header.width = 8;
  header.bytesPerRow = 8;
  header.format = 0x4004;
  header.colours = {0, 0xFFFFFF, 0xFF0000, 0x0000FF};
  std::vector<std::uint8_t> full(1024, 0xEE);
  full.push_back(0xC0);  // run of 64 × 1
  full.push_back(1);
  const std::vector<std::uint8_t> level1 = {0xF0, 2}, level2 = {4, 3, 2, 2, 3};
  // Level data lie before the page, where the page walk never reads them.
  const std::uint32_t l1 = b.LevelData(level1);
  const std::uint32_t l2 = b.LevelData(level2);
  const auto base = static_cast<std::int32_t>(b.Layout().dataStart);
  b.BeginPage().RasterHeader(header).RasterData(full);
  b.RasterLevels(
      {{4, 4, base + static_cast<std::int32_t>(l1)}, {2, 2, base + static_cast<std::int32_t>(l2)}});
  b.EndPage();
  Open(b);
  Draw(0, 1000);  // factor 1: the full image from opcode 54
  auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(I32At(calls[0].info, 4), 8);
  EXPECT_EQ(calls[0].bits[0], 1);
  EXPECT_EQ(calls[0].bits[63], 1);
  EXPECT_EQ(Entry().present, 0);  // decoded at every draw at factor 1

  Draw(0, 3);  // a = 0.375: factor 2, level 1 (4 × 4, all 2)
  calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(I32At(calls[0].info, 4), 4);
  EXPECT_EQ(calls[0].srcHeight, 4);
  EXPECT_EQ(calls[0].bits[5], 2);

  Draw(0, 2);  // a = 0.25: factor 4, level 2 (2 × 2: 3 2 / 2 3)
  calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(I32At(calls[0].info, 4), 2);
  EXPECT_EQ(calls[0].bits[0], 3);
  EXPECT_EQ(calls[0].bits[1], 2);
  EXPECT_EQ(calls[0].bits[4], 2);
  EXPECT_EQ(calls[0].bits[5], 3);
  EXPECT_EQ(Entry().present & 4, 4);
  const std::uint8_t* kept = Entry().kept[0].bits;
  Draw(0, 2);
  EXPECT_EQ(Entry().kept[0].bits, kept);  // from the cache
  EXPECT_EQ(Calls().size(), 1u);

  Draw(0, 0.5);  // factor 16: no such level, nothing painted
  EXPECT_EQ(Calls().size(), 0u);
}

TEST_F(RasterRecordsTest, LevelOutsideTheFileIsNotDecoded) {
  KpzBuilder b = Page();
  KpzRasterHeader header;
  header.x2 = 80;
  header.y2 = 80;
  header.rows = 8;
  header.width = 8;
  header.format = 0x5000;
  const std::vector<std::uint8_t> lead(1024, 0);
  b.BeginPage().RasterHeader(header).RasterData(lead);
  b.RasterLevels({{4, 4, 0x7FFFFFF0}, {2, 2, -4}}).Polyline({{9, 9}}).EndPage();
  Open(b);
  Draw(0, 3);
  EXPECT_EQ(Calls().size(), 0u);
  Draw(0, 2);
  EXPECT_EQ(Calls().size(), 0u);
  EXPECT_EQ(dev.Count("Polyline 1 (9,9)"), 1u);
}

TEST_F(RasterRecordsTest, Group4RecordSkipsItsLeadAndDamagedJpegIsNotPainted) {
  KpzBuilder b = Page();
  KpzRasterHeader header;
  header.x2 = 16;
  header.y2 = 2;
  header.rows = 2;
  header.width = 16;
  header.format = 0x1000;
  std::vector<std::uint8_t> g4(1024, 0xFF);  // a lead that is not a stream
  for (std::uint8_t v : {0x6C, 0xC7, 0x00, 0x08, 0x80}) g4.push_back(v);
  KpzRasterHeader jpeg = header;
  jpeg.format = 0x2000;
  const std::vector<std::uint8_t> notJpeg = {0xFF, 0xD8, 0xFF, 0x00, 0x12};
  b.BeginPage().RasterHeader(header).RasterData(g4).RasterHeader(jpeg).RasterData(notJpeg);
  b.Polyline({{4, 4}}).EndPage();
  Open(b);
  Draw();
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].bits[0], 0x0F);  // row 0: pixels 4-7
  EXPECT_EQ(calls[0].bits[4], 0x00);
  EXPECT_EQ(dev.Count("Polyline 1 (4,4)"), 1u);
}

// A whole-image stream sent once per row record decodes over the one before: the last wins,
// even where it leaves white what the first made black.
TEST_F(RasterRecordsTest, WholeImageSentInSeveralRecordsKeepsTheLast) {
  KpzBuilder b = Page();
  KpzRasterHeader header;
  header.flags = 0x80;
  header.x2 = 16;
  header.y2 = 2;
  header.rows = 2;
  header.width = 16;
  header.format = 0x1000;
  const auto withLead = [](std::initializer_list<std::uint8_t> stream) {
    std::vector<std::uint8_t> record(1024, 0xFF);
    record.insert(record.end(), stream);
    return record;
  };
  b.BeginPage().RasterHeader(header);
  b.RasterData(withLead({0x6C, 0xC7, 0x00, 0x08, 0x80}));  // row 0: pixels 4-7
  b.RasterData(withLead({0xC0, 0x04, 0x00, 0x40}));        // two white rows
  b.EndPage();
  Open(b);
  for (int rotation : {0, 90}) {
    Draw(rotation);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u) << rotation;
    EXPECT_TRUE(std::all_of(calls[0].bits.begin(), calls[0].bits.end(),
                            [](std::uint8_t v) { return v == 0; }))
        << rotation;
  }
}

// A 48 x 64 JPEG: two bands of rows, or one call when the device keeps the stream.
TEST_F(RasterRecordsTest, JpegRasterIsOfferedOnlyWhenItsOneRecordIsTheWholeOpaqueImage) {
  const auto stream = oracle::EncodeJpeg(oracle::SyntheticPicture(48, 64, 3, 1), 80);
  const struct {
    const char* what;
    std::uint8_t flags;
    std::int32_t width;  // the header's
    int records, rotation;
    bool takes;
    std::size_t offers, calls;
  } cases[] = {
      {"taken", 0, 48, 1, 0, true, 1, 1},
      {"taken, turned", 0, 48, 1, 90, true, 1, 1},
      {"declined", 0, 48, 1, 0, false, 1, 2},
      {"transparent", 0x04, 48, 1, 0, true, 0, 4},
      {"several records", 0x80, 48, 64, 0, true, 0, 2},
      {"stream narrower than the raster", 0, 56, 1, 0, true, 0, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    KpzBuilder b = Page();
    KpzRasterHeader header;
    header.flags = c.flags;
    header.x2 = 48;
    header.y2 = 64;
    header.rows = 64;
    header.width = c.width;
    header.format = 0x2000;
    b.BeginPage().RasterHeader(header);
    for (int r = 0; r < c.records; ++r) b.RasterData(stream);
    b.EndPage();
    dev = TraceDevice();
    dev.SetKeepDibs(true);
    dev.SetTakesJpeg(c.takes);
    Open(b);
    Draw(c.rotation);
    EXPECT_EQ(Calls().size(), c.calls);
    ASSERT_EQ(dev.jpegOffers().size(), c.offers);
    if (c.offers == 0) continue;
    const TraceDevice::JpegOffer& offer = dev.jpegOffers()[0];
    EXPECT_EQ(offer.bytes, stream.size());
    EXPECT_EQ(offer.width, 48);
    EXPECT_EQ(offer.rows, 64);
    EXPECT_EQ(offer.rotation, c.rotation);
  }
}

TEST_F(RasterRecordsTest, RastersBeyondTheDeclaredCountAreDrawnWithoutCaching) {
  KpzBuilder b = Page();
  KpzIndexFields index;
  index.rasterCount = 0;  // one cache entry, but three rasters
  b.Index(index);
  b.BeginPage();
  for (int i = 0; i < 3; ++i) AddRunPairRaster(b, RunPairHeader(2 + i));
  b.EndPage();
  Open(b);
  Draw();
  ASSERT_EQ(Calls().size(), 3u);
  Draw();
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(calls[static_cast<std::size_t>(i)].srcHeight, 2 + i);
}

TEST_F(RasterRecordsTest, PrintAtAnotherRotationDoesNotUseTheTurnedScreenImage) {
  KpzBuilder b = Page();
  b.BeginPage();
  AddRunPairRaster(b, RunPairHeader(4));
  b.EndPage();
  Open(b);
  Draw(90);
  ASSERT_EQ(Calls().size(), 1u);
  EXPECT_EQ(I32At(Calls()[0].info, 4), 4);  // turned: 4 wide, 16 rows
  st->rotation = 0;
  const std::size_t before = dev.dibCalls().size();
  DrawPrint();
  ASSERT_EQ(dev.dibCalls().size(), before + 1);
  EXPECT_EQ(I32At(dev.dibCalls()[before].info, 4), 16);
  EXPECT_EQ(dev.dibCalls()[before].srcHeight, 4);
}

TEST_F(RasterRecordsTest, SideBeyondAnyRealSheetIsSkipped) {
  // 16.7 million pixels wide and 4 rows: turned, it would be 400000 bands of 40 rows.
  KpzBuilder b = Page();
  KpzRasterHeader wide;
  wide.flags = 0x80;
  wide.y2 = 4;
  wide.rows = 4;
  wide.width = 16711779;
  wide.format = 0x0004;
  const std::uint8_t row[] = {0x80, 7};
  b.BeginPage().RasterHeader(wide);
  for (int r = 0; r < 4; ++r) b.RasterData(row);
  b.Polyline({{2, 2}}).EndPage();
  Open(b);
  Draw(90);
  EXPECT_EQ(Calls().size(), 0u);
  EXPECT_EQ(dev.Count("Polyline 1 (498,2)"), 1u);  // turned with the page
}

}  // namespace
}  // namespace quillon
