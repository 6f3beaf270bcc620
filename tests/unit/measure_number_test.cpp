#include "interact/measure_number.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace quillon {
namespace {

TEST(MeasureNumberTest, FixedFormatAtItsBoundaries) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0, "0.000"},
      {39.37008 * 0.0254, "1.000"},  // 1.00000003: cut, not rounded
      {1.9999, "1.999"},
      {12.3456, "12.345"},
      {123456789.9876, "123456789.987"},
      // The digits are those of the double, which lies just below 999999999.9.
      {999999999.9, "999999999.899"},
      {999999999.90625, "999999999.906"},
      {1e9, "TOO LARGE"},
      {1234567890, "TOO LARGE"},
      {1e10, "TOO LARGE"},
      {0.5, "0.500"},
      {0.1, "0.100"},
      {0.99999, "0.999"},
      {0.0999999, "0.099"},
      {0.05, "0.050"},
      {0.0123, "0.012"},
      {0.00123, "0.001"},
      {0.000123, "0.0001"},
      {0.000999, "0.0009"},
      // 1e-11 as a double is 9.99...e-12: below the smallest shown.
      {1e-11, "TOO SMALL"},
      {1.5e-11, "0.00000000001"},
      {9.99e-11, "0.00000000009"},
      {9.9e-12, "TOO SMALL"},
      {1e-300, "TOO SMALL"},
      {-2.5, "2.500"},
      {-0.0123, "0.012"},
      {inf, "TOO LARGE"},
      {std::numeric_limits<double>::quiet_NaN(), "TOO LARGE"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MeasureNumberText(c.value), c.text) << c.value;
  }
}

}  // namespace
}  // namespace quillon
