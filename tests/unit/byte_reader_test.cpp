#include "document/byte_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ByteReaderTest, ReadsLittleEndian) {
  const Bytes b = {0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF, 0x80};
  ByteReader r(b);
  EXPECT_EQ(r.u32(), 0x04030201u);
  EXPECT_EQ(r.i16(), -2);
  EXPECT_EQ(r.i8(), -128);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteReaderTest, FailureIsStickyAndYieldsZero) {
  const Bytes b = {1, 2, 3};
  ByteReader r(b);
  EXPECT_EQ(r.u32(), 0u);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.position(), 3u);
  EXPECT_EQ(r.u8(), 0u);  // even though a byte was there before the failure
  EXPECT_FALSE(r.ok());
}

TEST(ByteReaderTest, AbsoluteReadsAreBounded) {
  const Bytes b = {1, 2, 3, 4, 5};
  ByteReader r(b);
  EXPECT_EQ(r.u32_at(1), 0x05040302u);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.u32_at(2), 0u);
  EXPECT_FALSE(r.ok());
  ByteReader s(b);
  EXPECT_EQ(s.u32_at(UINT64_MAX - 1), 0u);
  EXPECT_FALSE(s.ok());
  ByteReader t(b);
  EXPECT_EQ(t.u8_at(4), 5u);
  EXPECT_EQ(t.u8_at(5), 0u);
  EXPECT_FALSE(t.ok());
}

TEST(ByteReaderTest, SeekSkipAndTakeStayInside) {
  const Bytes b(10, 7);
  ByteReader r(b);
  EXPECT_TRUE(r.seek(10));
  EXPECT_TRUE(r.ok());
  EXPECT_FALSE(r.seek(11));
  ByteReader s(b, 4);
  EXPECT_EQ(s.take_bytes(6).size(), 6u);
  EXPECT_TRUE(s.ok());
  ByteReader t(b, 4);
  EXPECT_TRUE(t.take_bytes(7).empty());
  EXPECT_FALSE(t.ok());
  ByteReader u(b, 2);
  EXPECT_FALSE(u.skip(UINT64_MAX));
  ByteReader v(b, 11);  // a start beyond the bytes is a failed reader
  EXPECT_FALSE(v.ok());
  EXPECT_EQ(v.position(), 10u);
}

}  // namespace
}  // namespace quillon
