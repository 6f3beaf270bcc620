#include "document/header_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/index_record.h"
#include "document/outer_form.h"
#include "tests/support/kpz_builder.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Loaded {
  Bytes file;
  KpzDocument doc;
  IndexRecord index;
};

void Load(Loaded& l, Bytes file) {
  l.file = std::move(file);
  l.doc.view = l.file;
  auto start = FindDataStart(l.file);
  ASSERT_TRUE(start);
  auto index = ReadIndexRecord(l.file, *start);
  ASSERT_TRUE(index);
  l.index = *index;
}

TEST(HeaderRecordTest, ReadsEveryField) {
  KpzHeaderFields h;
  h.headerWord = -7;
  h.headerValue1 = 0x00018000;
  h.pageWidth = KpzBuilder::Fixed(0.841);
  h.pageHeight = KpzBuilder::Fixed(1.189);
  h.headerValue2 = 0x00020001;
  h.headerShort = -2;
  h.resolution = 15748;
  h.versionText = "Kestrel plot 4.2";
  Loaded l;
  ASSERT_NO_FATAL_FAILURE(Load(l, KpzBuilder().Header(h).Build()));
  ASSERT_TRUE(ReadHeaderRecord(l.doc, l.index));
  EXPECT_EQ(l.doc.header.word, -7);
  EXPECT_DOUBLE_EQ(l.doc.header.value1, 1.0 + 32768.0 / 65535.0);
  EXPECT_NEAR(l.doc.header.pageWidth, 0.841, 1e-5);
  EXPECT_NEAR(l.doc.header.pageHeight, 1.189, 1e-5);
  EXPECT_DOUBLE_EQ(l.doc.header.value2, 2.0 + 1.0 / 65535.0);
  EXPECT_EQ(l.doc.header.shortValue, -2);
  EXPECT_EQ(l.doc.header.resolution, 15748);
  EXPECT_EQ(std::string(l.doc.header.versionText.data()), "Kestrel plot 4.2");
}

TEST(HeaderRecordTest, PageDotsAreTruncated) {
  KpzDocument doc;
  doc.header.pageWidth = 1.0 + 32768.0 / 65535.0;
  doc.header.pageHeight = 0.9999;
  doc.header.resolution = 1001;
  EXPECT_EQ(PageDotsX(doc), 1501.0);  // 1501.5076...
  EXPECT_EQ(PageDotsY(doc), 1000.0);  // 1000.8999
}

TEST(HeaderRecordTest, VersionTextOfFullWidthStaysTerminated) {
  KpzHeaderFields h;
  h.versionText = std::string(40, 'v');
  Loaded l;
  ASSERT_NO_FATAL_FAILURE(Load(l, KpzBuilder().Header(h).Build()));
  ASSERT_TRUE(ReadHeaderRecord(l.doc, l.index));
  EXPECT_EQ(std::string(l.doc.header.versionText.data()), std::string(32, 'v'));
}

TEST(HeaderRecordTest, WrappedFileFindsHeaderAfterWrapper) {
  KpzWrapperLayout w;
  w.blockSizes = {5};
  w.remainder = 2;
  Loaded l;
  ASSERT_NO_FATAL_FAILURE(Load(l, KpzBuilder().Wrapped(w).PageSize(2, 1, 100).Build()));
  ASSERT_TRUE(ReadHeaderRecord(l.doc, l.index));
  EXPECT_DOUBLE_EQ(l.doc.header.pageWidth, 2.0);
  EXPECT_EQ(PageDotsX(l.doc), 200.0);
}

TEST(HeaderRecordTest, NotAHeaderLeavesValuesAsTheyWere) {
  KpzBuilder b;
  b.PageSize(3, 3, 10);
  b.index().headerOffset = 1;  // inside the header: 0x98, not opcode 0
  Loaded l;
  ASSERT_NO_FATAL_FAILURE(Load(l, b.Build()));
  l.doc.header.pageWidth = 9;
  l.doc.header.resolution = 77;
  EXPECT_FALSE(ReadHeaderRecord(l.doc, l.index));
  EXPECT_EQ(l.doc.header.pageWidth, 9);
  EXPECT_EQ(l.doc.header.resolution, 77);
}

TEST(HeaderRecordTest, HeaderThatDoesNotFitIsNotRead) {
  // A header offset near the end: opcode 0 found, but 669 bytes are not there.
  KpzBuilder b;
  b.Raw({0});
  const std::uint32_t zeroAt = b.Offset() - 1;
  b.index().headerOffset = zeroAt;
  Loaded l;
  ASSERT_NO_FATAL_FAILURE(Load(l, b.Build()));
  ASSERT_LT(l.file.size() - zeroAt, kHeaderRecordSize);
  l.doc.header.resolution = 77;
  EXPECT_FALSE(ReadHeaderRecord(l.doc, l.index));
  EXPECT_EQ(l.doc.header.resolution, 77);
  // An offset beyond the file entirely.
  l.index.headerOffset = 0xFFFFFFFF;
  EXPECT_FALSE(ReadHeaderRecord(l.doc, l.index));
}

TEST(HeaderRecordTest, HeaderEndingExactlyAtTheViewEndIsReadAndOneByteShortIsNot) {
  KpzBuilder b;
  b.PageSize(0.5, 0.25, 400);
  Loaded plain;
  ASSERT_NO_FATAL_FAILURE(Load(plain, b.Build()));
  const std::size_t end = *FindDataStart(plain.file) + plain.index.headerOffset + kHeaderRecordSize;
  // Views ending with the header's last byte and one byte before it, exactly sized so that a
  // read past them is caught under the sanitizers.
  for (std::size_t cut : {0, 1}) {
    const Bytes bytes(plain.file.begin(), plain.file.begin() + static_cast<std::ptrdiff_t>(end - cut));
    KpzDocument doc;
    doc.view = bytes;
    doc.header.resolution = 77;
    EXPECT_EQ(ReadHeaderRecord(doc, plain.index), cut == 0) << cut;
    EXPECT_EQ(doc.header.resolution == 77, cut == 1) << cut;
  }
}

}  // namespace
}  // namespace quillon
