#include "document/kpz_tables.h"

#include <gtest/gtest.h>

#include <vector>

#include "document/index_record.h"
#include "document/outer_form.h"
#include "tests/support/kpz_builder.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

class TablesTest : public ::testing::Test {
 protected:
  // Reads the index of `file` and applies it to doc_.
  void Apply(Bytes file) {
    file_ = std::move(file);
    doc_.view = file_;
    auto start = FindDataStart(file_);
    ASSERT_TRUE(start);
    auto index = ReadIndexRecord(file_, *start);
    ASSERT_TRUE(index);
    ApplyIndexRecord(doc_, *index);
  }
  Bytes file_;
  KpzDocument doc_;
};

TEST_F(TablesTest, PageTableGivesPageOffsets) {
  KpzBuilder b;
  b.BeginPage().Polyline({{1, 2}, {3, 4}}).EndPage();
  b.BeginPage().EndPage();
  b.BeginPage().LineWidth(2).EndPage();
  ASSERT_NO_FATAL_FAILURE(Apply(b.Build()));
  const auto layout = b.Layout();
  ASSERT_EQ(doc_.pageTable.count, 3u);
  for (std::uint32_t i = 0; i < 3; ++i) EXPECT_EQ(PageOffset(doc_, i), layout.pages[i]);
  EXPECT_EQ(file_[*PageOffset(doc_, 0)], 4);
  EXPECT_EQ(file_[*PageOffset(doc_, 1)], 3);
  EXPECT_EQ(file_[*PageOffset(doc_, 2)], 18);
  EXPECT_FALSE(PageOffset(doc_, 3));
}

TEST_F(TablesTest, RawTablesAndCounts) {
  KpzBuilder b;
  b.PatternTableDeclaration(12)
      .Table47(3, {1, 2, 3})
      .Table49(65535)
      .Table35(-5, {9})
      .Table45(0xABCD, 7);
  ASSERT_NO_FATAL_FAILURE(Apply(b.Build()));
  const auto layout = b.Layout();
  EXPECT_EQ(doc_.patternDeclCount, 12u);
  EXPECT_EQ(doc_.table47.count, 3u);
  EXPECT_EQ(doc_.table47.entriesOffset, layout.table47 + 7u);
  EXPECT_EQ(file_[doc_.table47.entriesOffset], 1);
  EXPECT_EQ(doc_.table49.count, 65535u);  // entries are not interpreted: count kept as is
  EXPECT_EQ(static_cast<std::int32_t>(doc_.table35.count), -5);
  EXPECT_EQ(doc_.table35.entriesOffset, layout.table35 + 9u);
  EXPECT_EQ(file_[doc_.table35.entriesOffset], 9);
  EXPECT_EQ(doc_.table45First, 0xABCD);
  EXPECT_EQ(doc_.table45Second, 7);
}

TEST_F(TablesTest, OffsetZeroEmptiesTheTable) {
  KpzBuilder b;
  b.BeginPage().EndPage();
  b.OmitPageTable();
  doc_.pageTable = {5, 100};
  doc_.lineStyleTable = {2, 50};
  doc_.patternDeclCount = 4;
  doc_.table35 = {1, 1};
  doc_.table45First = 3;
  ASSERT_NO_FATAL_FAILURE(Apply(b.Build()));
  EXPECT_EQ(doc_.pageTable.count, 0u);
  EXPECT_EQ(doc_.pageTable.entriesOffset, 0u);
  EXPECT_EQ(doc_.lineStyleTable.count, 0u);
  EXPECT_EQ(doc_.patternDeclCount, 0u);
  EXPECT_EQ(doc_.table35.count, 0u);
  EXPECT_EQ(doc_.table45First, 0);
  EXPECT_FALSE(PageOffset(doc_, 0));
}

TEST_F(TablesTest, OffsetToAnotherOpcodeKeepsPreviousValues) {
  KpzBuilder b;
  b.BeginPage().EndPage();
  b.PatternTableDeclaration(6).Table45(1, 2);
  const auto layout = b.Layout();
  // The page table offset points at the pattern declaration, and so on.
  b.index().pageTable = layout.patternTable;
  b.index().patternTable = layout.pageTable;
  b.index().table45 = 0xFFFFFFF0;  // beyond the file
  doc_.pageTable = {5, 100};
  doc_.patternDeclCount = 4;
  doc_.table45First = 3;
  doc_.table45Second = 4;
  ASSERT_NO_FATAL_FAILURE(Apply(b.Build()));
  EXPECT_EQ(doc_.pageTable.count, 5u);
  EXPECT_EQ(doc_.pageTable.entriesOffset, 100u);
  EXPECT_EQ(doc_.patternDeclCount, 4u);
  EXPECT_EQ(doc_.table45First, 3);
  EXPECT_EQ(doc_.table45Second, 4);
}

TEST_F(TablesTest, PageCountIsCutToTheEntriesInTheFile) {
  KpzBuilder b;
  b.BeginPage().EndPage();
  b.PageCountOverride(60000);
  ASSERT_NO_FATAL_FAILURE(Apply(b.Build()));
  const std::size_t entries = b.Layout().pageTable + 7u;
  EXPECT_EQ(doc_.pageTable.count, (file_.size() - entries) / 4);
  EXPECT_LT(doc_.pageTable.count, 60000u);
  for (std::uint32_t i = 0; i < doc_.pageTable.count; ++i) EXPECT_TRUE(PageOffset(doc_, i));
}

TEST_F(TablesTest, TableWhoseCountIsCutOffCountsNothing) {
  // With 4 bytes of padding the index size is 50: the file's 4th-last byte is a page table
  // opcode whose count field lies past the end.
  KpzBuilder b;
  b.BeginPage().EndPage();
  b.index().padding = 4;
  b.index().pageTable = b.Layout().index + kIndexRecordMinSize;
  doc_.pageTable = {9, 9};
  ASSERT_NO_FATAL_FAILURE(Apply(b.Build()));
  ASSERT_EQ(file_[file_.size() - 4], 50);
  EXPECT_EQ(doc_.pageTable.count, 0u);
  EXPECT_LE(doc_.pageTable.entriesOffset, file_.size());
  EXPECT_FALSE(PageOffset(doc_, 0));
}

TEST_F(TablesTest, LineStyleDashes) {
  KpzBuilder b;
  const auto dashed = b.AddLineStyle({10, 5.5});
  const auto empty = b.AddLineStyle({});
  const auto lying = b.AddLineStyleBits({0x00030000}, 40000);
  EXPECT_EQ(dashed, 6);
  EXPECT_EQ(empty, 7);
  EXPECT_EQ(lying, 8);
  ASSERT_NO_FATAL_FAILURE(Apply(b.Build()));
  ASSERT_EQ(doc_.lineStyleTable.count, 3u);
  auto dashes = LineStyleDashes(doc_, dashed - 6);
  ASSERT_TRUE(dashes);
  ASSERT_EQ(dashes->size(), 2u);
  EXPECT_FLOAT_EQ((*dashes)[0], 10.0f);
  EXPECT_NEAR((*dashes)[1], 5.5f, 1e-4);
  auto none = LineStyleDashes(doc_, empty - 6);
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->empty());
  // A count of 40000 with one dash behind it: cut to what the file holds.
  auto cut = LineStyleDashes(doc_, lying - 6);
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->size(), (file_.size() - (b.Layout().lineStyleDefinitions[2] + 9u)) / 4);
  EXPECT_FLOAT_EQ(cut->front(), 3.0f);
  EXPECT_FALSE(LineStyleDashes(doc_, 3));
}

TEST_F(TablesTest, LineStyleEntryPointingOutsideTheFile) {
  KpzBuilder b;
  b.AddLineStyle({1});
  ASSERT_NO_FATAL_FAILURE(Apply(b.Build()));
  // Rewrite the single entry to a far offset.
  const std::size_t entry = doc_.lineStyleTable.entriesOffset;
  for (int i = 0; i < 4; ++i) file_[entry + i] = 0xFF;
  EXPECT_FALSE(LineStyleDashes(doc_, 0));
}

TEST_F(TablesTest, WrappedOffsetsCountFromTheDataStart) {
  KpzWrapperLayout w;
  w.blockSizes = {100, 3};
  KpzBuilder b;
  b.Wrapped(w).BeginPage().EndPage();
  const auto style = b.AddLineStyle({4});
  ASSERT_NO_FATAL_FAILURE(Apply(b.Build()));
  EXPECT_EQ(doc_.dataStart, b.Layout().dataStart);
  ASSERT_EQ(doc_.pageTable.count, 1u);
  EXPECT_EQ(file_[doc_.dataStart + *PageOffset(doc_, 0)], 3);
  EXPECT_FLOAT_EQ(LineStyleDashes(doc_, style - 6)->at(0), 4.0f);
}

}  // namespace
}  // namespace quillon
