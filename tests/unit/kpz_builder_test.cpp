#include "tests/support/kpz_builder.h"

#include <gtest/gtest.h>

#include <vector>

#include "document/byte_reader.h"
#include "document/kpz_values.h"
#include "document/outer_form.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(KpzBuilderTest, FixedEncodingRoundTrips) {
  EXPECT_EQ(KpzBuilder::Fixed(1.5), 0x00018000u);
  EXPECT_EQ(KpzBuilder::Fixed(0), 0u);
  EXPECT_EQ(KpzBuilder::Fixed(-3), 0u);
  EXPECT_EQ(KpzBuilder::Fixed(2), 0x00020000u);
  for (double v : {0.841, 1.189, 12.25, 359.99})
    EXPECT_NEAR(KpzFixedToDouble(KpzBuilder::Fixed(v)), v, 0.5 / 65535) << v;
}

TEST(KpzBuilderTest, RgbIsWrittenBlueFirst) {
  EXPECT_EQ(KpzBuilder::Rgb(0x33, 0x22, 0x11), 0x00332211u);
  EXPECT_EQ(KpzColourToColorRef(KpzBuilder::Rgb(0xFF, 0, 0)), 0x000000FFu);
}

TEST(KpzBuilderTest, PlainFileLayout) {
  KpzBuilder b;
  b.BeginPage().Polyline({{1, 2}}).EndPage();
  const Bytes file = b.Build();
  const auto layout = b.Layout();
  EXPECT_EQ(layout.dataStart, 0u);
  ASSERT_EQ(layout.pages.size(), 1u);
  EXPECT_EQ(layout.pages[0], 669u);  // right after the header
  EXPECT_EQ(file[669], 4);
  ByteReader r(file);
  EXPECT_EQ(r.u32_at(670), 4u + 8u);  // polyline len: count and one point
  EXPECT_EQ(file[layout.pageTable], 50);
  EXPECT_EQ(r.u32_at(layout.pageTable + 1), 2u + 4u);
  EXPECT_EQ(r.u32_at(layout.pageTable + 7), 669u);
  EXPECT_EQ(file[layout.index], 1);
  EXPECT_EQ(file.size(), layout.index + 46u);
  EXPECT_EQ(r.u32_at(file.size() - 4), 46u);
}

TEST(KpzBuilderTest, WrapperSizeSatisfiesTheSkipRule) {
  KpzWrapperLayout w;
  w.strings = {"x", "yy"};
  w.blockSizes = {4, 4};
  w.extras = {9};
  w.remainder = 5;
  KpzBuilder b;
  const Bytes file = b.Wrapped(w).Build();
  ByteReader r(file);
  // 24 + (1+2) + (2+2) + 7 × 2 + 2 × 4 + 4 + r
  EXPECT_EQ(r.u32_at(16), 24u + 3 + 4 + 14 + 8 + 4 + 5);
  EXPECT_EQ(b.Layout().dataStart, 40u + 3 + 4 + 14 + 8 + 4 + 9 + 8);
  EXPECT_EQ(FindDataStart(file), b.Layout().dataStart);
}

TEST(KpzBuilderTest, CompoundPartLengthsCountBytesAfterThemselves) {
  KpzBuilder b;
  const std::uint32_t at = b.Offset();
  b.CompoundShape(2, {{1, {{6, {{1, 1}, {2, 2}}, {}, {}}}}});
  const Bytes file = b.Build();
  ByteReader r(file);
  // opcode, len, flags, S, (byte, close, N), type 6, partLen
  const std::size_t partLenAt = at + 1 + 4 + 1 + 4 + 1 + 1 + 4 + 1;
  EXPECT_EQ(file[partLenAt - 1], 6);
  EXPECT_EQ(r.u32_at(partLenAt), 1u + 4u + 16u);
  EXPECT_EQ(r.u32_at(at + 1), b.Offset() - at - 5);
}

TEST(KpzBuilderTest, LevelDataAndTruncation) {
  KpzBuilder b;
  const std::uint32_t level = b.LevelData(Bytes{9, 8, 7});
  const Bytes file = b.Build();
  EXPECT_EQ(level, 669u);
  EXPECT_EQ(ByteReader(file).u32_at(level + 1), 3u);
  EXPECT_EQ(file[level + 5], 9);
  EXPECT_EQ(b.TruncateAt(700).Build().size(), 700u);
  EXPECT_EQ(b.TruncateAt(1 << 20).Build().size(), file.size());
}

TEST(KpzBuilderTest, HugeCountsLeaveTheirDataOut) {
  KpzBuilder b;
  const std::uint32_t before = b.Offset();
  b.Record41(0x7FFFFFFF, 2).Record34(0x7FFFFFFF);
  EXPECT_EQ(b.Offset() - before, (1u + 28) + (1u + 12));
}

}  // namespace
}  // namespace quillon
