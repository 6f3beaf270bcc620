#pragma once
// The fixed number format of measurement results: three decimals above one, fewer significant
// digits below, digits cut rather than rounded, and words for what the status strip cannot
// show.

#include <string>

namespace quillon {

// The sign is never shown. Values below 1e-11 give "TOO SMALL", from 1e9 on "TOO LARGE"; so
// do infinities and NaN, which no measurement should produce.
std::string MeasureNumberText(double value);

}  // namespace quillon
