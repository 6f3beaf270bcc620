#include "settings/value_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quillon {
namespace {

TEST(ValueTextTest, FixedNotationKeepsThePointAndDropsTrailingZeros) {
  EXPECT_EQ(ValueText(1.0), "1.");
  EXPECT_EQ(ValueText(2.0), "2.");
  EXPECT_EQ(ValueText(2.5), "2.5");
  EXPECT_EQ(ValueText(0.0), "0.");
  EXPECT_EQ(ValueText(150.5), "150.5");
  EXPECT_EQ(ValueText(-2.5), "-2.5");
  EXPECT_EQ(ValueText(0.1), "0.1");
  EXPECT_EQ(ValueText(100.0), "100.");
  EXPECT_EQ(ValueText(9999999999.0), "9999999999.");
}

TEST(ValueTextTest, TenSignificantDigitsRounded) {
  EXPECT_EQ(ValueText(1.0 / 3.0), "0.3333333333");
  EXPECT_EQ(ValueText(2.0 / 3.0), "0.6666666667");
  EXPECT_EQ(ValueText(12345.678901234), "12345.6789");
  EXPECT_EQ(ValueText(1.23456789012), "1.23456789");
  // A carry into an eleventh digit moves the number into exponent notation.
  EXPECT_EQ(ValueText(9999999999.5), "1.e+010");
}

TEST(ValueTextTest, ExponentNotationBelowOneTenthAndFromTenDigitsUp) {
  EXPECT_EQ(ValueText(0.05), "5.e-002");
  EXPECT_EQ(ValueText(-0.05), "-5.e-002");
  EXPECT_EQ(ValueText(0.0125), "1.25e-002");
  EXPECT_EQ(ValueText(1e10), "1.e+010");
  EXPECT_EQ(ValueText(2.5e12), "2.5e+012");
  // Exponents of three digits keep all of them.
  EXPECT_EQ(ValueText(1e-300), "1.e-300");
  EXPECT_EQ(ValueText(1.5e308), "1.5e+308");
  EXPECT_EQ(ValueText(4.9406564584124654e-324), "4.940656458e-324");
}

TEST(ValueTextTest, ReadsBackEveryWrittenForm) {
  for (double v : {1.0, 2.5, 0.0, 0.05, 150.5, 1e10, -0.0125, 1.0 / 3.0, 1e-300}) {
    const double back = ValueFromText(ValueText(v));
    EXPECT_NEAR(back, v, std::fabs(v) * 1e-9) << ValueText(v);
  }
}

TEST(ValueTextTest, ReadingTakesTheLongestLeadingNumber) {
  EXPECT_EQ(ValueFromText("1.5"), 1.5);
  EXPECT_EQ(ValueFromText("  3abc"), 3.0);
  EXPECT_EQ(ValueFromText("2.0"), 2.0);
  EXPECT_EQ(ValueFromText("-7"), -7.0);
  EXPECT_EQ(ValueFromText("abc"), 0.0);
  EXPECT_EQ(ValueFromText(""), 0.0);
  // A view that is not zero-terminated is read only up to its end.
  const std::string_view part = std::string_view("12345").substr(0, 2);
  EXPECT_EQ(ValueFromText(part), 12.0);
}

}  // namespace
}  // namespace quillon
