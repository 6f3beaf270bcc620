#pragma once
// Numbers kept in the registry as text: ten significant digits in the C runtime's _gcvt form
// ("1.", "2.5", "0.", "5.e-002"), read back with a decimal conversion that takes any text.

#include <string>
#include <string_view>

namespace quillon {

std::string ValueText(double value);

// atof: the longest leading decimal number, 0 when there is none.
double ValueFromText(std::string_view text);

}  // namespace quillon
