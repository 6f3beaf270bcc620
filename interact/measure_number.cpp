#include "interact/measure_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

namespace quillon {
namespace {

// Twenty significant digits, correctly rounded, and the exponent e of 0.d1d2... x 10^e.
struct Digits {
  char digits[20];
  int exponent;
};

Digits TwentyDigits(double value) {
  Digits out{};
  if (value == 0) {
    std::fill(std::begin(out.digits), std::end(out.digits), '0');
    out.exponent = 0;
    return out;
  }
  char text[64];
  // d.ddd...e+xx: one digit, the point, nineteen digits, the exponent.
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 19);
  const std::string_view written(text, result.ptr - text);
  out.digits[0] = written[0];
  written.substr(2, 19).copy(out.digits + 1, 19);
  out.exponent = std::atoi(std::string(written.substr(22)).c_str()) + 1;
  return out;
}

}  // namespace

std::string MeasureNumberText(double value) {
  value = std::fabs(value);
  if (!std::isfinite(value)) return "TOO LARGE";
  const Digits d = TwentyDigits(value);
  const int e = d.exponent;
  if (e >= 10) return "TOO LARGE";
  if (e < -10) return "TOO SMALL";
  std::string text;
  if (e >= 1) {
    text.append(d.digits, e);
    text += '.';
    text.append(d.digits + e, 3);
  } else if (e == 0) {
    text = "0.";
    text.append(d.digits, 3);
  } else {
    text = "0.";
    text.append(-e, '0');
    text.append(d.digits, e == -1 ? 2 : 1);
  }
  return text;
}

}  // namespace quillon
