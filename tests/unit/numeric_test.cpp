#include "base/numeric.h"

#include <gtest/gtest.h>

#include <limits>

namespace quillon {
namespace {

TEST(TruncToIntTest, TowardZeroAndHeldInRange) {
  EXPECT_EQ(TruncToInt(11811.02), 11811);
  EXPECT_EQ(TruncToInt(-2.9), -2);
  EXPECT_EQ(TruncToInt(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(TruncToInt(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(TruncToInt(-std::numeric_limits<double>::infinity()), std::numeric_limits<int>::min());
}

}  // namespace
}  // namespace quillon
