#include "document/index_record.h"

#include <gtest/gtest.h>

#include <vector>

#include "document/outer_form.h"
#include "tests/support/kpz_builder.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(IndexRecordTest, ReadsOffsetsOfABuiltFile) {
  KpzBuilder b;
  b.BeginPage().EndPage();
  b.AddLineStyle({2, 1});
  b.PatternTableDeclaration(3).Table47(1).Table49(2).Table35(-1).Table45(4, 5);
  b.RasterHeader({}).RasterHeader({});
  const Bytes file = b.Build();
  const auto layout = b.Layout();
  auto index = ReadIndexRecord(file, 0);
  ASSERT_TRUE(index);
  EXPECT_EQ(index->start, layout.index);
  EXPECT_EQ(index->indexSize, kIndexRecordMinSize);
  EXPECT_EQ(index->rasterCount, 2u);
  EXPECT_EQ(index->headerOffset, 0u);
  EXPECT_EQ(index->pageTableOffset, layout.pageTable);
  EXPECT_EQ(index->lineStyleTableOffset, layout.lineStyleTable);
  EXPECT_EQ(index->patternTableOffset, layout.patternTable);
  EXPECT_EQ(index->table47Offset, layout.table47);
  EXPECT_EQ(index->table49Offset, layout.table49);
  EXPECT_EQ(index->table35Offset, layout.table35);
  EXPECT_EQ(index->table45Offset, layout.table45);
  // All distinct and non-zero: no field was read from the wrong place.
  EXPECT_NE(layout.table47, layout.table49);
  EXPECT_NE(layout.table35, 0u);
}

TEST(IndexRecordTest, PaddedRecordIsValidAndOffsetsAreRelativeToDataStart) {
  KpzWrapperLayout wrapper;
  wrapper.blockSizes = {7};
  KpzBuilder b;
  b.Wrapped(wrapper).BeginPage().EndPage();
  b.index().padding = 20;
  const Bytes file = b.Build();
  const auto start = FindDataStart(file);
  ASSERT_TRUE(start);
  auto index = ReadIndexRecord(file, *start);
  ASSERT_TRUE(index);
  EXPECT_EQ(index->indexSize, kIndexRecordMinSize + 20);
  EXPECT_EQ(index->dataStart, *start);
  EXPECT_EQ(file[*start + index->pageTableOffset], 50);
}

TEST(IndexRecordTest, EachConditionRejects) {
  {
    KpzBuilder b;  // size larger than the file
    b.index().trailer = 0x7FFFFFFF;
    EXPECT_FALSE(ReadIndexRecord(b.Build(), 0));
  }
  {
    KpzBuilder b;  // length disagrees with the size
    b.index().length = kIndexRecordMinSize - 4;
    EXPECT_FALSE(ReadIndexRecord(b.Build(), 0));
  }
  {
    KpzBuilder b;  // record does not start with opcode 1
    b.index().opcode = 0;
    EXPECT_FALSE(ReadIndexRecord(b.Build(), 0));
  }
  {
    KpzBuilder b;  // the size points somewhere else than the record's start
    b.index().trailer = kIndexRecordMinSize + 1;
    EXPECT_FALSE(ReadIndexRecord(b.Build(), 0));
  }
}

TEST(IndexRecordTest, TinySizesNeitherUnderflowNorPass) {
  // Below the minimum the length field would overlap the size or lie past the end (which is
  // also where len + 5 could wrap in 32 bits).
  for (std::uint32_t size = 0; size < kIndexRecordMinSize; ++size) {
    // A record of `size` bytes that satisfies the three conditions as far as it can.
    Bytes file(100, 0);
    const std::size_t start = file.size() - size;
    if (size >= 1) file[start] = 1;
    if (size >= 5 + 4) PutU32(file, start + 1, size - 5);
    PutU32(file, file.size() - 4, size);
    EXPECT_FALSE(ReadIndexRecord(file, 0)) << size;
  }
  EXPECT_FALSE(ReadIndexRecord(Bytes{}, 0));
  EXPECT_FALSE(ReadIndexRecord(Bytes{1, 2, 3}, 0));
}

TEST(IndexRecordTest, MinimalRecordThatIsTheWholeFile) {
  KpzBuilder b;
  Bytes file = b.Build();
  const auto layout = b.Layout();
  const Bytes indexOnly(file.begin() + layout.index, file.end());
  auto index = ReadIndexRecord(indexOnly, 0);
  ASSERT_TRUE(index);
  EXPECT_EQ(index->start, 0u);
}

}  // namespace
}  // namespace quillon
