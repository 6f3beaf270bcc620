#include "control/property_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace quillon {
namespace {

// Reads from a byte vector as a stream does: whole requests only.
struct VectorSource {
  const std::vector<std::uint8_t>& bytes;
  std::size_t at = 0;
  std::size_t requested = 0;  // total bytes asked for

  bool operator()(void* out, std::size_t n) {
    requested += n;
    if (bytes.size() - at < n) return false;
    std::memcpy(out, bytes.data() + at, n);
    at += n;
    return true;
  }
};

std::optional<PersistedProperties> Decode(const std::vector<std::uint8_t>& bytes,
                                          std::size_t* consumed = nullptr) {
  VectorSource source{bytes};
  auto result = DecodeProperties(std::ref(source));
  if (consumed != nullptr) *consumed = source.at;
  return result;
}

PersistedProperties Sample() {
  PersistedProperties p;
  p.cx = 21167;
  p.cy = 15875;
  p.DataFileName = u"Z:\\plans\\site-plan.kpz";
  p.xOrg = -400;
  p.yOrg = 12.5;
  p.ViewScale = 0.0625;
  p.Rot = 90;
  return p;
}

TEST(PropertyStreamTest, LayoutFollowsThePropertyOrder) {
  PersistedProperties p;
  p.cx = 0x01020304;
  p.cy = 5;
  p.DataFileName = u"ab";
  p.xOrg = 1.0;
  p.yOrg = 2.0;
  p.ViewScale = 0.5;
  p.Rot = 270;
  const std::vector<std::uint8_t> expected = {
      0x00, 0x03, 0x00, 0x00,                          // version
      0x04, 0x03, 0x02, 0x01, 0x05, 0x00, 0x00, 0x00,  // _cx, _cy
      0x08, 0x00, 0x06, 0x00, 0x00, 0x00,              // string, 6 bytes with terminator
      'a',  0x00, 'b',  0x00, 0x00, 0x00,              //
      0x05, 0x00, 0,    0,    0,    0,    0,    0,    0xF0, 0x3F,  // xOrg 1.0
      0x05, 0x00, 0,    0,    0,    0,    0,    0,    0x00, 0x40,  // yOrg 2.0
      0x05, 0x00, 0,    0,    0,    0,    0,    0,    0xE0, 0x3F,  // ViewScale 0.5
      0x03, 0x00, 0x0E, 0x01, 0x00, 0x00,                          // Rot 270
  };
  EXPECT_EQ(EncodeProperties(p), expected);
}

TEST(PropertyStreamTest, RoundTripReadsExactlyWhatWasWritten) {
  const PersistedProperties p = Sample();
  std::vector<std::uint8_t> bytes = EncodeProperties(p);
  const std::size_t size = bytes.size();
  bytes.push_back(0x77);  // whatever follows in the container's stream stays unread
  std::size_t consumed = 0;
  const auto back = Decode(bytes, &consumed);
  ASSERT_TRUE(back);
  EXPECT_EQ(consumed, size);
  EXPECT_EQ(back->cx, p.cx);
  EXPECT_EQ(back->cy, p.cy);
  EXPECT_EQ(back->DataFileName, p.DataFileName);
  EXPECT_EQ(back->xOrg, p.xOrg);
  EXPECT_EQ(back->yOrg, p.yOrg);
  EXPECT_EQ(back->ViewScale, p.ViewScale);
  EXPECT_EQ(back->Rot, p.Rot);
}

TEST(PropertyStreamTest, InitialNameAndEmptyNameSurvive) {
  PersistedProperties p;
  auto back = Decode(EncodeProperties(p));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->DataFileName, u" ");
  p.DataFileName.clear();
  back = Decode(EncodeProperties(p));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->DataFileName, u"");
}

TEST(PropertyStreamTest, EveryTruncationIsRefused) {
  const std::vector<std::uint8_t> bytes = EncodeProperties(Sample());
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + n);
    EXPECT_FALSE(Decode(cut)) << "cut at " << n;
  }
}

TEST(PropertyStreamTest, DamagedRecordsAreRefused) {
  const std::vector<std::uint8_t> good = EncodeProperties(Sample());
  auto damaged = [&](std::size_t at, std::uint8_t value) {
    std::vector<std::uint8_t> bytes = good;
    bytes[at] = value;
    return bytes;
  };
  EXPECT_FALSE(Decode(damaged(1, 0x04))) << "newer version";
  EXPECT_TRUE(Decode(damaged(1, 0x01))) << "older version";
  EXPECT_FALSE(Decode(damaged(12, 3))) << "name is not a string";
  EXPECT_FALSE(Decode(damaged(14, 0x2F))) << "odd name length";
  const std::size_t xOrgTag = 18 + Sample().DataFileName.size() * 2 + 2;
  EXPECT_FALSE(Decode(damaged(xOrgTag, 3))) << "xOrg is not a double";
  const std::size_t rotTag = xOrgTag + 30;
  EXPECT_FALSE(Decode(damaged(rotTag, 5))) << "Rot is not an integer";
  EXPECT_TRUE(Decode(damaged(rotTag + 2, 0)));
}

TEST(PropertyStreamTest, HugeNameLengthIsRefusedWithoutReadingIt) {
  std::vector<std::uint8_t> bytes = EncodeProperties(Sample());
  // Length 0xFFFFFFFE: even, and far beyond any path.
  bytes[14] = 0xFE;
  bytes[15] = bytes[16] = bytes[17] = 0xFF;
  VectorSource source{bytes};
  EXPECT_FALSE(DecodeProperties(std::ref(source)));
  EXPECT_LE(source.requested, 18u);
}

// A name read in pieces: a long one comes back whole; a stream that ends early after claiming
// the longest name is refused after the piece it could not fill.
TEST(PropertyStreamTest, LongNamesAreReadInPieces) {
  PersistedProperties p = Sample();
  p.DataFileName.assign(5000, u'x');
  p.DataFileName += u".kpz";
  const auto back = Decode(EncodeProperties(p));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->DataFileName, p.DataFileName);
  EXPECT_EQ(back->Rot, 90);

  std::vector<std::uint8_t> bytes = EncodeProperties(Sample());
  const std::uint32_t claimed = kMaxNameBytes;
  std::memcpy(bytes.data() + 14, &claimed, 4);
  VectorSource source{bytes};
  EXPECT_FALSE(DecodeProperties(std::ref(source)));
  EXPECT_LE(source.requested, 18u + 4096u);
}

}  // namespace
}  // namespace quillon
