#pragma once
// What the ruler dialog's value edits accept and show: the magnitude of the decimal number
// typed, 1 in place of zero or of anything that is no number, shown with six decimals.

#include <string>
#include <string_view>

namespace quillon {

// A ratio of zero, or an infinite or undefined one, would make every measurement meaningless,
// so those become 1 as well.
double RulerEntryValue(std::string_view text);
// "%lf": 2.5 shows as "2.500000".
std::string RulerEntryText(double value);

}  // namespace quillon
