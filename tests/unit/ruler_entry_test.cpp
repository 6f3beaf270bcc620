#include "settings/ruler_entry.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(RulerEntryTest, TypedTextBecomesAPositiveValueShownWithSixDecimals) {
  const struct {
    const char* typed;
    double value;
    const char* shown;
  } cases[] = {
      {"2.5", 2.5, "2.500000"},
      {"-2.5", 2.5, "2.500000"},
      {"0", 1, "1.000000"},
      {"-0", 1, "1.000000"},
      {"abc", 1, "1.000000"},
      {"", 1, "1.000000"},
      {"  12abc", 12, "12.000000"},
      {"1e3", 1000, "1000.000000"},
      {"0.0000001", 1e-7, "0.000000"},
      {"inf", 1, "1.000000"},
      {"nan", 1, "1.000000"},
      {"1e999", 1, "1.000000"},
      {"39.370079", 39.370079, "39.370079"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const double value = RulerEntryValue(c.typed);
    EXPECT_DOUBLE_EQ(value, c.value);
    EXPECT_EQ(RulerEntryText(value), c.shown);
  }
}

TEST(RulerEntryTest, TheLargestValueIsShownWhole) {
  const std::string text = RulerEntryText(1.7976931348623157e308);
  EXPECT_EQ(text.size(), 309u + 7u);
  EXPECT_EQ(text.substr(text.size() - 7), ".000000");
}

}  // namespace
}  // namespace quillon
