#include "document/kpz_values.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quillon {
namespace {

TEST(KpzFixedTest, FractionIsDividedBy65535) {
  EXPECT_DOUBLE_EQ(KpzFixedToDouble(0x00018000), 1.0 + 32768.0 / 65535.0);
  EXPECT_NEAR(KpzFixedToDouble(0x00018000), 1.500008, 1e-6);
  EXPECT_NE(KpzFixedToDouble(0x00018000), 1.5);
  // 0xFFFF is a whole unit, not 65535/65536.
  EXPECT_DOUBLE_EQ(KpzFixedToDouble(0x0002FFFF), 3.0);
}

TEST(KpzFixedTest, IntegerPartIsUnsigned) {
  EXPECT_DOUBLE_EQ(KpzFixedToDouble(0xFFFF0000u), 65535.0);
  EXPECT_FLOAT_EQ(KpzFixedToFloat(0x80000000u), 32768.0f);
  EXPECT_DOUBLE_EQ(KpzFixedToDouble(0), 0.0);
}

TEST(KpzFixedTest, SinglePrecisionRoundsEveryStepToFloat) {
  for (std::uint32_t v : {0x00018000u, 0x00000001u, 0x0000FFFFu, 0x0123ABCDu, 0xFFFFFFFFu}) {
    const float fraction = static_cast<float>(v & 0xFFFF) * 1.5259022e-05f;
    const float expected = static_cast<float>(v >> 16) + fraction;
    EXPECT_EQ(KpzFixedToFloat(v), expected) << std::hex << v;
  }
  // The float steps give another result than the double value rounded to float.
  EXPECT_EQ(KpzFixedToFloat(0x00010100), 1.00390625f);
  EXPECT_NE(KpzFixedToFloat(0x00010100), static_cast<float>(KpzFixedToDouble(0x00010100)));
  EXPECT_EQ(KpzFixedToFloat(0x0000FFFF), 1.0f);
}

TEST(KpzColourTest, BlueGreenRedBytesBecomeColorRef) {
  const std::uint8_t bytes[4] = {0x11, 0x22, 0x33, 0x44};
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | bytes[i];
  EXPECT_EQ(KpzColourToColorRef(v), 0x00112233u);
  // Pure red in the file (byte 2) is COLORREF red (low byte).
  EXPECT_EQ(KpzColourToColorRef(0x00FF0000u), 0x000000FFu);
  EXPECT_EQ(KpzColourToColorRef(0x000000FFu), 0x00FF0000u);
  EXPECT_EQ(KpzColourToColorRef(0xFF000000u), 0u);  // fourth byte ignored
}

}  // namespace
}  // namespace quillon
