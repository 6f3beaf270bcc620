#include "control/history_record.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

namespace quillon {
namespace {

std::uint64_t Le64(const std::uint8_t* at) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(at[i]) << (8 * i);
  return v;
}

TEST(HistoryRecordTest, LayoutIsLittleEndianWithThePathAt32) {
  HistoryRecord record;
  record.xOrg = -400.5;
  record.yOrg = 12.25;
  record.ViewScale = 0.125;
  record.Rot = 90;
  record.path = "C:\\plans\\site.kpz";
  const auto bytes = EncodeHistory(record);
  ASSERT_EQ(bytes.size(), 292u);
  EXPECT_EQ(Le64(&bytes[0]), std::bit_cast<std::uint64_t>(-400.5));
  EXPECT_EQ(Le64(&bytes[8]), std::bit_cast<std::uint64_t>(12.25));
  EXPECT_EQ(Le64(&bytes[16]), std::bit_cast<std::uint64_t>(0.125));
  EXPECT_EQ(bytes[24], 90);
  EXPECT_EQ(bytes[25] | bytes[26] | bytes[27], 0);
  // The reserved word and everything after the path's terminator are zero.
  EXPECT_EQ(bytes[28] | bytes[29] | bytes[30] | bytes[31], 0);
  EXPECT_EQ(std::memcmp(&bytes[32], record.path.data(), record.path.size()), 0);
  for (std::size_t i = 32 + record.path.size(); i < bytes.size(); ++i) {
    ASSERT_EQ(bytes[i], 0) << "byte " << i;
  }
}

TEST(HistoryRecordTest, RoundTripKeepsViewAndPath) {
  HistoryRecord record;
  record.xOrg = 1e6;
  record.yOrg = -3.5;
  record.ViewScale = 0.0421;
  record.Rot = -90;  // kept as written; the control refuses it when loading
  record.path = "http://plans.example/a b.kpz";
  const auto bytes = EncodeHistory(record);
  const auto back = DecodeHistory(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->xOrg, record.xOrg);
  EXPECT_EQ(back->yOrg, record.yOrg);
  EXPECT_EQ(back->ViewScale, record.ViewScale);
  EXPECT_EQ(back->Rot, -90);
  EXPECT_EQ(back->path, record.path);
}

TEST(HistoryRecordTest, LongPathIsCutSoTheTerminatorFits) {
  HistoryRecord record;
  record.path = std::string(400, 'a');
  const auto bytes = EncodeHistory(record);
  EXPECT_EQ(bytes[32 + 258], 'a');
  EXPECT_EQ(bytes[32 + 259], 0);
  const auto back = DecodeHistory(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->path, std::string(259, 'a'));
}

TEST(HistoryRecordTest, DecodingStaysInsideThePathField) {
  auto bytes = EncodeHistory(HistoryRecord{});
  // A record written by someone else: no terminator at all in the path field.
  std::memset(&bytes[32], 'z', 260);
  auto back = DecodeHistory(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->path, std::string(259, 'z'));

  // Bytes after the terminator are ignored; the reserved word too.
  std::memcpy(&bytes[32], "ab\0cd", 5);
  bytes[28] = 0xFF;
  back = DecodeHistory(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->path, "ab");
}

TEST(HistoryRecordTest, ShortRecordIsRefusedAndLongerInputReadsItsHead) {
  const auto bytes = EncodeHistory(HistoryRecord{1, 2, 3, 180, "p"});
  std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
  EXPECT_FALSE(DecodeHistory(std::span(data).first(291)));
  EXPECT_FALSE(DecodeHistory({}));
  data.resize(400, 0xEE);
  const auto back = DecodeHistory(data);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Rot, 180);
  EXPECT_EQ(back->path, "p");
}

}  // namespace
}  // namespace quillon
