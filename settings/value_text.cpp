#include "settings/value_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace quillon {

namespace {
constexpr int kDigits = 10;
}

std::string ValueText(double value) {
  if (value == 0) return "0.";
  if (!std::isfinite(value)) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
  }
  // %.9e rounds to exactly ten significant digits: "d.ddddddddde[+-]xx".
  char scientific[40];
  std::snprintf(scientific, sizeof scientific, "%.*e", kDigits - 1, value);
  std::string text = scientific;
  std::string sign;
  if (text[0] == '-') {
    sign = "-";
    text.erase(0, 1);
  }
  const std::size_t e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  if (exponent < -1 || exponent >= kDigits) {
    // At least three exponent digits; a double's exponent never needs more.
    std::string power = std::to_string(std::abs(exponent));
    if (power.size() < 3) power.insert(0, 3 - power.size(), '0');
    return sign + digits.substr(0, 1) + "." + digits.substr(1) + "e" + (exponent < 0 ? "-" : "+") +
           power;
  }
  if (exponent == -1) return sign + "0." + digits;
  const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= whole) return sign + digits + std::string(whole - digits.size(), '0') + ".";
  return sign + digits.substr(0, whole) + "." + digits.substr(whole);
}

double ValueFromText(std::string_view text) {
  const std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}

}  // namespace quillon
