// Whole files cut at every length and with single bytes spoiled, read through every format
// reader and a page walk. Run under the sanitizers, a read outside the bytes is a failure.

#include <gtest/gtest.h>

#include <vector>

#include "document/header_record.h"
#include "document/index_record.h"
#include "document/kpz_tables.h"
#include "document/outer_form.h"
#include "document/record_layout.h"
#include "tests/support/kpz_builder.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Walk {
  std::size_t records = 0;
  bool endPage = false;
};

// Steps through the records from `start` to an end-of-page record, a refused record or the
// end of the bytes.
Walk WalkPage(std::span<const std::uint8_t> file, std::uint64_t start) {
  Walk walk;
  ByteReader r(file);
  if (!r.seek(start)) return walk;
  while (r.remaining() > 0) {
    const std::uint8_t op = r.u8();
    ++walk.records;
    if (op == 3) {
      walk.endPage = true;
      break;
    }
    if (!ConsumeRecord(op, r)) break;
  }
  return walk;
}

KpzBuilder SampleBuilder() {
  KpzWrapperLayout w;
  w.strings[0] = "name";
  w.blockSizes = {6};
  w.remainder = 2;
  KpzBuilder b;
  b.Wrapped(w).PageSize(0.5, 0.25, 400);
  const auto style = b.AddLineStyle({3, 2});
  b.PatternTableDeclaration(2).Table47(1, {7, 7}).Table49(0).Table35(1, {1, 2, 3, 4}).Table45(1, 2);
  b.BeginPage()
      .LineStyle(style)
      .LineColour(KpzBuilder::Rgb(200, 0, 0))
      .Polyline({{0, 0}, {100, 50}})
      .CompoundShape(2, {{1, {{4, {{1, 1}, {2, 2}}, {}, {}}, {5, {{3, 3}}, {}, {}}}}})
      .Text(1, {{5, 5}, {6, 5}}, "ab")
      .EndPage();
  KpzPattern p;
  p.rows = 2;
  p.bytesPerRow = 4;
  p.width = 8;
  KpzRasterHeader h;
  h.rows = 2;
  h.bytesPerRow = 1;
  h.width = 8;
  b.BeginPage()
      .PatternDefinition(p)
      .PolygonSet(3, {{{0, 0}, {10, 0}, {10, 10}}})
      .RasterHeader(h)
      .RasterData(Bytes{0xFF, 0x00})
      .Record41(2, 3)
      .EndPage();
  return b;
}

Bytes SampleFile() { return SampleBuilder().Build(); }

// Runs every reader; returns the number of records walked over all pages.
std::size_t ReadAll(std::span<const std::uint8_t> file) {
  KpzDocument doc;
  doc.view = file;
  ClassifyOuterForm(file);
  const auto start = FindDataStart(file);
  if (!start) return 0;
  const auto index = ReadIndexRecord(file, *start);
  if (!index) return 0;
  ApplyIndexRecord(doc, *index);
  ReadHeaderRecord(doc, *index);
  std::size_t records = 0;
  for (std::uint32_t i = 0; i < doc.pageTable.count; ++i) {
    const auto offset = PageOffset(doc, i);
    EXPECT_TRUE(offset);
    if (!offset) continue;
    const Walk walk = WalkPage(file, std::uint64_t{doc.dataStart} + *offset);
    EXPECT_LE(walk.records, file.size());
    records += walk.records;
  }
  for (std::uint32_t i = 0; i < doc.lineStyleTable.count; ++i) LineStyleDashes(doc, i);
  return records;
}

TEST(FormatTruncationTest, WholeFileReadsBothPages) {
  const Bytes file = SampleFile();
  KpzDocument doc;
  doc.view = file;
  const auto index = ReadIndexRecord(file, *FindDataStart(file));
  ASSERT_TRUE(index);
  ApplyIndexRecord(doc, *index);
  ASSERT_TRUE(ReadHeaderRecord(doc, *index));
  EXPECT_EQ(doc.header.resolution, 400);
  ASSERT_EQ(doc.pageTable.count, 2u);
  const Walk first = WalkPage(file, doc.dataStart + *PageOffset(doc, 0));
  const Walk second = WalkPage(file, doc.dataStart + *PageOffset(doc, 1));
  EXPECT_TRUE(first.endPage);
  EXPECT_EQ(first.records, 6u);
  EXPECT_TRUE(second.endPage);
  EXPECT_EQ(second.records, 6u);
  EXPECT_EQ(ReadAll(file), 12u);
}

TEST(FormatTruncationTest, EveryCutIsRefusedWithoutReadingPastIt) {
  const Bytes file = SampleFile();
  const std::size_t dataStart = *FindDataStart(file);
  const auto pages = SampleBuilder().Layout().pages;
  ASSERT_EQ(pages.size(), 2u);
  for (std::size_t n = 0; n < file.size(); ++n) {
    const Bytes cut(file.begin(), file.begin() + n);  // exactly sized: overreads are caught
    EXPECT_FALSE(ReadIndexRecord(cut, dataStart)) << n;
    EXPECT_EQ(ReadAll(cut), 0u) << n;
    // The pages of the whole file walked in the cut one: they end or are refused in bounds.
    for (std::uint32_t page : pages) WalkPage(cut, dataStart + page);
  }
}

TEST(FormatTruncationTest, SpoiledBytesStayInBounds) {
  const Bytes file = SampleFile();
  for (std::size_t at = 0; at < file.size(); ++at) {
    for (std::uint8_t value : {0x00, 0x7F, 0x80, 0xFF}) {
      Bytes spoiled = file;
      spoiled[at] = value;
      ReadAll(spoiled);  // the checks are inside: page offsets and walk lengths stay bounded
    }
  }
}

}  // namespace
}  // namespace quillon
