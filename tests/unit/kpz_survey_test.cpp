// The survey behind kpzinfo: what it reads from well-formed files of both outer forms,
// and which faults of broken files it reports as problems (the control refuses the file or
// draws less than all of it) or as notes.

#include "document/kpz_survey.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "document/opcodes.h"
#include "tests/support/kpz_builder.h"

namespace quillon {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Pair;
using Bytes = std::vector<std::uint8_t>;

KpzBuilder TwoPages() {
  KpzBuilder b;
  b.PageSize(0.5, 0.25, 4000);
  b.AddLineStyle({3, 2, 1});
  b.Table47(3).Table49(1).Table35(2, Bytes(8, 0)).Table45(7, 9).PatternTableDeclaration(4);
  b.BeginPage().LineColour(1).Polyline({{0, 0}, {5, 5}}).Polyline({{1, 1}}).EndPage();
  b.BeginPage().Rectangles({{0, 0, 4, 4}}).EndPage();
  return b;
}

KpzSurvey Survey(const Bytes& file) { return SurveyKpz(file); }

TEST(KpzSurveyTest, PlainFileIsReadWhole) {
  const KpzBuilder b = TwoPages();
  const Bytes file = b.Build();
  const KpzBuiltLayout layout = b.Layout();
  const KpzSurvey info = Survey(file);

  EXPECT_EQ(info.form, OuterForm::Plain);
  EXPECT_EQ(info.dataStart, 0u);
  EXPECT_FALSE(info.wrapper);
  ASSERT_TRUE(info.index);
  EXPECT_EQ(info.index->start, layout.index);
  EXPECT_EQ(info.index->indexSize, file.size() - layout.index);
  ASSERT_TRUE(info.headerPresent);
  EXPECT_NEAR(info.pageWidth, 0.5, 1e-4);
  EXPECT_NEAR(info.pageHeight, 0.25, 1e-4);
  EXPECT_EQ(info.resolution, 4000);
  EXPECT_EQ(info.pageDotsX, 2000);
  EXPECT_EQ(info.pageDotsY, 1000);
  EXPECT_EQ(info.versionText, "KPZ test");

  EXPECT_TRUE(info.pageTable.present);
  EXPECT_EQ(info.pageTable.offset, layout.pageTable);
  EXPECT_EQ(info.pageTable.count, 2u);
  EXPECT_EQ(info.lineStyleTable.count, 1u);
  EXPECT_THAT(info.lineStyleDashCounts, ElementsAre(std::optional<std::size_t>(3)));
  EXPECT_EQ(info.patternDeclaration.count, 4u);
  EXPECT_EQ(info.table47.count, 3u);
  EXPECT_EQ(info.table49.count, 1u);
  EXPECT_EQ(info.table35.count, 2u);
  EXPECT_TRUE(info.table45.present);
  EXPECT_EQ(info.table45First, 7);
  EXPECT_EQ(info.table45Second, 9);

  ASSERT_EQ(info.pages.size(), 2u);
  EXPECT_EQ(info.pages[0].offset, layout.pages[0]);
  EXPECT_EQ(info.pages[0].records, 4u);
  EXPECT_THAT(info.pages[0].recordsByOpcode,
              ElementsAre(Pair(opcode::EndPageRecord, 1u), Pair(opcode::PolylineRecord, 2u),
                          Pair(opcode::LineColourRecord, 1u)));
  EXPECT_TRUE(info.pages[0].ended);
  EXPECT_THAT(info.pages[1].recordsByOpcode,
              ElementsAre(Pair(opcode::EndPageRecord, 1u), Pair(opcode::RectangleSetRecord, 1u)));
  EXPECT_THAT(info.problems, IsEmpty());
  EXPECT_THAT(info.notes, IsEmpty());
  EXPECT_TRUE(info.drawnWhole());
}

TEST(KpzSurveyTest, WrappedFileCountsFromItsDataStart) {
  KpzWrapperLayout w;
  w.strings[0] = "name";
  w.blockSizes = {6, 2, 9};
  w.extras = {1};
  w.remainder = 3;
  KpzBuilder b = TwoPages();
  b.Wrapped(w);
  const Bytes file = b.Build();
  const KpzBuiltLayout layout = b.Layout();
  const KpzSurvey info = Survey(file);

  EXPECT_EQ(info.form, OuterForm::Wrapped);
  ASSERT_TRUE(info.wrapper);
  EXPECT_EQ(info.wrapper->blockCount, 3u);
  EXPECT_EQ(info.wrapper->extraCount, 1u);
  EXPECT_EQ(info.wrapper->remainder, 3u);
  EXPECT_EQ(info.dataStart, layout.dataStart);
  EXPECT_GT(info.dataStart, 0u);
  ASSERT_TRUE(info.headerPresent);
  EXPECT_EQ(info.resolution, 4000);
  ASSERT_EQ(info.pages.size(), 2u);
  EXPECT_EQ(info.pages[1].offset, layout.pages[1]);
  EXPECT_TRUE(info.pages[1].ended);
  EXPECT_TRUE(info.drawnWhole());
}

TEST(KpzSurveyTest, NeitherOuterFormIsRefused) {
  Bytes file = TwoPages().Build();
  file[0] = 7;
  const KpzSurvey info = Survey(file);
  EXPECT_EQ(info.form, OuterForm::Invalid);
  EXPECT_FALSE(info.index);
  ASSERT_EQ(info.problems.size(), 1u);
  EXPECT_THAT(info.problems[0], HasSubstr("neither the plain header"));
  EXPECT_FALSE(info.drawnWhole());
}

TEST(KpzSurveyTest, MoreThanTenWrapperBlocksAreRefused) {
  KpzWrapperLayout w;
  w.blockSizes.assign(11, 1);
  KpzBuilder b = TwoPages();
  b.Wrapped(w);
  const KpzSurvey info = Survey(b.Build());
  EXPECT_EQ(info.form, OuterForm::Wrapped);
  EXPECT_FALSE(info.wrapper);
  ASSERT_EQ(info.problems.size(), 1u);
  EXPECT_THAT(info.problems[0], HasSubstr("more than 10 wrapper blocks"));
  EXPECT_FALSE(info.drawnWhole());
}

TEST(KpzSurveyTest, TruncatedFileHasNoIndexRecord) {
  KpzBuilder b = TwoPages();
  const std::size_t full = b.Build().size();
  b.TruncateAt(full - 10);
  const KpzSurvey info = Survey(b.Build());
  EXPECT_FALSE(info.index);
  ASSERT_EQ(info.problems.size(), 1u);
  EXPECT_THAT(info.problems[0], HasSubstr("invalid index record"));
  EXPECT_TRUE(info.pages.empty());
  EXPECT_FALSE(info.drawnWhole());
}

TEST(KpzSurveyTest, BadIndexRecordsAreExplained) {
  struct Case {
    void (*spoil)(KpzIndexFields&);
    const char* why;
  };
  const Case cases[] = {
      {[](KpzIndexFields& x) { x.opcode = 2; }, "not the index record's opcode 1"},
      {[](KpzIndexFields& x) { x.trailer = 0x7FFFFFFF; }, "is larger than the file"},
      {[](KpzIndexFields& x) { x.trailer = 20; }, "below the 46 bytes"},
      {[](KpzIndexFields& x) { x.length = 99; }, "has length 99, which does not match"},
  };
  for (const Case& c : cases) {
    KpzBuilder b = TwoPages();
    c.spoil(b.index());
    const KpzSurvey info = Survey(b.Build());
    EXPECT_FALSE(info.index) << c.why;
    ASSERT_EQ(info.problems.size(), 1u) << c.why;
    EXPECT_THAT(info.problems[0], HasSubstr(c.why));
  }
}

TEST(KpzSurveyTest, PageStartingPastTheEndIsAProblemAndLaterPagesAreStillWalked) {
  KpzBuilder b = TwoPages();
  const std::uint32_t second = b.Layout().pages[1];
  b.PageTableEntries({0xFFFFFF00u, second});
  const KpzSurvey info = Survey(b.Build());
  ASSERT_EQ(info.pages.size(), 2u);
  EXPECT_TRUE(info.pages[0].broken);
  EXPECT_EQ(info.pages[0].records, 0u);
  EXPECT_TRUE(info.pages[1].ended);
  ASSERT_EQ(info.problems.size(), 1u);
  EXPECT_THAT(info.problems[0], HasSubstr("page 1: starts at offset"));
  EXPECT_FALSE(info.drawnWhole());
}

TEST(KpzSurveyTest, NegativeLengthEndsThePageWithTheRecordsBeforeItCounted) {
  KpzBuilder b;
  b.BeginPage().Polyline({{0, 0}}).LengthPrefixed(70, {}, -8).Polyline({{1, 1}}).EndPage();
  const std::size_t broken = b.Layout().pages[0] + 17;  // after the one-point polyline
  const KpzSurvey info = Survey(b.Build());
  ASSERT_EQ(info.pages.size(), 1u);
  EXPECT_TRUE(info.pages[0].broken);
  EXPECT_FALSE(info.pages[0].ended);
  EXPECT_THAT(info.pages[0].recordsByOpcode, ElementsAre(Pair(opcode::PolylineRecord, 1u)));
  ASSERT_EQ(info.problems.size(), 1u);
  EXPECT_EQ(info.problems[0], "page 1: record 70 (Opcode70) at offset " + std::to_string(broken) +
                                  " holds a negative length (-8)");
}

TEST(KpzSurveyTest, RecordRunningPastTheEndIsAProblem) {
  KpzBuilder b;
  b.BeginPage().LineWidth(2).Polyline({{0, 0}}, 0x10000000u).EndPage();
  const KpzSurvey info = Survey(b.Build());
  ASSERT_EQ(info.pages.size(), 1u);
  EXPECT_EQ(info.pages[0].records, 1u);
  ASSERT_EQ(info.problems.size(), 1u);
  EXPECT_THAT(info.problems[0], HasSubstr("record 4 (PolylineRecord)"));
  EXPECT_THAT(info.problems[0], HasSubstr("runs past the end of the file"));
}

TEST(KpzSurveyTest, PageTableDeclaringMorePagesThanItHoldsLosesPages) {
  const Bytes file = TwoPages().PageCountOverride(500).Build();
  const KpzSurvey info = Survey(file);
  ASSERT_TRUE(info.index);
  EXPECT_LT(info.pageTable.count, 500u);
  ASSERT_FALSE(info.problems.empty());
  EXPECT_THAT(info.problems[0], HasSubstr("declares 500 pages but the file holds"));
}

TEST(KpzSurveyTest, MissingHeaderIsAProblem) {
  KpzBuilder b = TwoPages();
  b.index().headerOffset = 1;  // inside the header, whose byte there is not opcode 0
  const KpzSurvey info = Survey(b.Build());
  EXPECT_FALSE(info.headerPresent);
  ASSERT_FALSE(info.problems.empty());
  EXPECT_THAT(info.problems[0], HasSubstr("no header record at offset 1"));
}

TEST(KpzSurveyTest, IgnoredTableOffsetAndUnendedPageAreOnlyNotes) {
  KpzBuilder b;
  b.BeginPage().Polyline({{0, 0}});  // no end-of-page record: the walk runs into the tables
  b.index().table47 = 1;             // inside the header, not a table 47
  const KpzSurvey info = Survey(b.Build());
  EXPECT_FALSE(info.table47.present);
  EXPECT_THAT(info.problems, IsEmpty());
  ASSERT_EQ(info.notes.size(), 2u);
  EXPECT_THAT(info.notes[0], HasSubstr("offset 1 of table 47 points at a byte"));
  EXPECT_THAT(info.notes[1], HasSubstr("page 1: no end-of-page record"));
  EXPECT_TRUE(info.drawnWhole());
}

TEST(KpzSurveyTest, EveryCutOfAFileIsSurveyedWithoutFault) {
  const Bytes file = TwoPages().Build();
  for (std::size_t size = 0; size <= file.size(); ++size) {
    const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
    const KpzSurvey info = Survey(cut);
    EXPECT_EQ(info.drawnWhole(), size == file.size()) << size;
  }
}

}  // namespace
}  // namespace quillon
