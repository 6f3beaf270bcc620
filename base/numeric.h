#pragma once
// Checked numeric conversions shared by every layer.

namespace quillon {

// Truncates toward zero to a device integer; NaN gives 0 and values beyond the 32-bit range
// are held at its ends, so no file value can make the conversion undefined.
int TruncToInt(double value);

}  // namespace quillon
