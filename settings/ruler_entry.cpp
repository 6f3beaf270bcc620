#include "settings/ruler_entry.h"

#include <cmath>
#include <cstdio>

#include "settings/value_text.h"

namespace quillon {

double RulerEntryValue(std::string_view text) {
  const double value = std::fabs(ValueFromText(text));
  return value == 0 || !std::isfinite(value) ? 1.0 : value;
}

std::string RulerEntryText(double value) {
  char text[400];  // the largest double in fixed notation needs 316
  std::snprintf(text, sizeof text, "%lf", value);
  return text;
}

}  // namespace quillon
