#include "render/point_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillon {
namespace {

std::vector<std::uint8_t> Le32(std::initializer_list<std::int32_t> values) {
  std::vector<std::uint8_t> bytes;
  for (std::int32_t v : values)
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  return bytes;
}

DevicePoint ReadOne(int rotation, PageDots page = {1000, 800}) {
  const auto bytes = Le32({10, 20});
  ByteReader in(bytes);
  DevicePoint p{};
  EXPECT_TRUE(ReadPoints(in, {&p, 1}, kPoint32, rotation, page));
  return p;
}

TEST(PointReaderTest, RotationsWithinThePage) {
  EXPECT_EQ(ReadOne(0), (DevicePoint{10, 20}));
  EXPECT_EQ(ReadOne(90), (DevicePoint{780, 10}));
  EXPECT_EQ(ReadOne(180), (DevicePoint{990, 780}));
  EXPECT_EQ(ReadOne(270), (DevicePoint{20, 990}));
}

TEST(PointReaderTest, SixteenBitPointsAreSigned) {
  const std::vector<std::uint8_t> bytes = {0xFE, 0xFF, 0x05, 0x00, 0x10, 0x00, 0x00, 0x80};
  ByteReader in(bytes);
  DevicePoint p[2]{};
  ASSERT_TRUE(ReadPoints(in, p, kPoint16, 0, {100, 100}));
  EXPECT_EQ(p[0], (DevicePoint{-2, 5}));
  EXPECT_EQ(p[1], (DevicePoint{16, -32768}));
  EXPECT_EQ(in.position(), 8u);
}

TEST(PointReaderTest, PointsPastTheEndFailTheReader) {
  const auto bytes = Le32({1, 2, 3});  // one and a half points
  ByteReader in(bytes);
  DevicePoint p[2]{};
  EXPECT_FALSE(ReadPoints(in, p, kPoint32, 0, {100, 100}));
  EXPECT_FALSE(in.ok());
}

TEST(PointReaderTest, ExtremeValuesWrapInsteadOfOverflowing) {
  const auto bytes = Le32({INT32_MIN, 0});
  ByteReader in(bytes);
  DevicePoint p{};
  ASSERT_TRUE(ReadPoints(in, {&p, 1}, kPoint32, 180, {10, 10}));
  // 10 - INT32_MIN wraps to INT32_MIN + 10.
  EXPECT_EQ(p.x, INT32_MIN + 10);
  EXPECT_EQ(p.y, 10);
}

}  // namespace
}  // namespace quillon
