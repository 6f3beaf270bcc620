#include "render/bit_rotation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/pixel_rows_text.h"

namespace quillon {
namespace {

using test::PixelRowsFromText;
using test::PixelRowsToText;

RowsView View(const PixelRows& rows, unsigned bpp = 1) {
  return {rows.data, rows.width, rows.height, rows.stride, bpp};
}

const std::vector<std::string> kShape = {"110", "010", "000", "001"};  // 3 wide, 4 rows

TEST(BitRotationTest, StrideIsPaddedToWholeDoubleWords) {
  EXPECT_EQ(DibStride(1, 1), 4u);
  EXPECT_EQ(DibStride(32, 1), 4u);
  EXPECT_EQ(DibStride(33, 1), 8u);
  EXPECT_EQ(DibStride(3, 24), 12u);
  EXPECT_EQ(DibStride(5, 4), 4u);
}

TEST(BitRotationTest, ZeroCopiesRows) {
  const PixelRows in = PixelRowsFromText(kShape);
  const PixelRows out = RotateBits(View(in), 0);
  EXPECT_EQ(PixelRowsToText(out), kShape);
  EXPECT_EQ(out.stride, 4u);
}

// kShape as shown (a bottom-up DIB, last row on top):
//   001
//   000
//   010
//   110
TEST(BitRotationTest, HalfTurnReversesRowsAndReadsEachBackwards) {
  const PixelRows out = RotateBits(View(PixelRowsFromText(kShape)), 180);
  // Shown: 011 / 010 / 000 / 100.
  EXPECT_EQ(PixelRowsToText(out), (std::vector<std::string>{"100", "000", "010", "011"}));
}

TEST(BitRotationTest, NinetyTurnsThePictureCounterClockwise) {
  const PixelRows out = RotateBits(View(PixelRowsFromText(kShape)), 90);
  ASSERT_EQ(out.width, 4u);
  ASSERT_EQ(out.height, 3u);
  // Shown: 1000 / 0011 / 0001: the right column, read downwards, is now the top row.
  EXPECT_EQ(PixelRowsToText(out), (std::vector<std::string>{"0001", "0011", "1000"}));
}

TEST(BitRotationTest, TwoSeventyTurnsThePictureClockwise) {
  const PixelRows out = RotateBits(View(PixelRowsFromText(kShape)), 270);
  ASSERT_EQ(out.width, 4u);
  ASSERT_EQ(out.height, 3u);
  // Shown: 1000 / 1100 / 0001: the left column, read upwards, is now the top row.
  EXPECT_EQ(PixelRowsToText(out), (std::vector<std::string>{"0001", "1100", "1000"}));
}

// Turns compose like turns: a mirror image would undo itself where a turn goes on.
TEST(BitRotationTest, QuarterTurnsComposeAsRotations) {
  const std::vector<std::string> shape = {"11000", "01000", "00000", "00101", "10000", "00011"};
  const PixelRows in = PixelRowsFromText(shape);
  const PixelRows q1 = RotateBits(View(in), 90);
  const PixelRows q2 = RotateBits(View(q1), 90);
  const PixelRows q3 = RotateBits(View(q2), 90);
  const PixelRows q4 = RotateBits(View(q3), 90);
  EXPECT_EQ(PixelRowsToText(q2), PixelRowsToText(RotateBits(View(in), 180)));
  EXPECT_EQ(PixelRowsToText(q3), PixelRowsToText(RotateBits(View(in), 270)));
  EXPECT_EQ(PixelRowsToText(q4), shape);
  EXPECT_NE(PixelRowsToText(q2), shape);
  EXPECT_EQ(PixelRowsToText(RotateBits(View(RotateBits(View(in), 270)), 90)), shape);
}

TEST(BitRotationTest, WideRowsCrossByteBoundariesAndPadWithZeros) {
  std::string row(40, '0');
  row[0] = row[9] = row[39] = '1';
  const PixelRows out = RotateBits(View(PixelRowsFromText({row})), 180);
  ASSERT_EQ(out.stride, 8u);
  std::string expected(40, '0');
  expected[39] = expected[30] = expected[0] = '1';
  EXPECT_EQ(PixelRowsToText(out)[0], expected);
  EXPECT_EQ(out.data[5] | out.data[6] | out.data[7], 0);  // beyond bit 40: zeros
  const PixelRows turned = RotateBits(View(PixelRowsFromText({row})), 90);
  ASSERT_EQ(turned.height, 40u);
  EXPECT_EQ(PixelRowsToText(turned)[9], "1");
  EXPECT_EQ(PixelRowsToText(turned)[8], "0");
}

TEST(BitRotationTest, InvalidViewGivesEmptyResult) {
  PixelRows in = PixelRowsFromText(kShape);
  RowsView view = View(in);
  view.height = 5;  // more rows than the data holds
  EXPECT_EQ(RotateBits(view, 90).width, 0u);
  view = View(in);
  view.stride = 0;
  EXPECT_TRUE(RotateBits(view, 180).data.empty());
}

TEST(BitRotationTest, BytePixelsTurnLikeBits) {
  // 3 x 2 eight-bit pixels: indices 1..6.
  PixelRows in;
  in.width = 3;
  in.height = 2;
  in.stride = 4;
  in.data = {1, 2, 3, 0, 4, 5, 6, 0};
  const PixelRows ninety = RotatePixels(View(in, 8), 90);
  ASSERT_EQ(ninety.width, 2u);
  ASSERT_EQ(ninety.height, 3u);
  EXPECT_EQ(ninety.data, (std::vector<std::uint8_t>{4, 1, 0, 0, 5, 2, 0, 0, 6, 3, 0, 0}));
  const PixelRows half = RotatePixels(View(in, 8), 180);
  EXPECT_EQ(half.data, (std::vector<std::uint8_t>{6, 5, 4, 0, 3, 2, 1, 0}));
  EXPECT_TRUE(RotatePixels(View(in, 1), 90).data.empty());  // bits go through RotateBits
}

TEST(BitRotationTest, TrueColourPixelsKeepTheirBytesTogether) {
  PixelRows in;
  in.width = 2;
  in.height = 1;
  in.stride = 8;
  in.data = {10, 20, 30, 40, 50, 60, 0, 0};
  const PixelRows out = RotatePixels(View(in, 24), 270);
  ASSERT_EQ(out.height, 2u);
  ASSERT_EQ(out.stride, 4u);
  EXPECT_EQ(out.data, (std::vector<std::uint8_t>{40, 50, 60, 0, 10, 20, 30, 0}));
}

}  // namespace
}  // namespace quillon
