#pragma once
// The file's two value encodings: KpzFixed (unsigned 16.16 whose fraction is divided by
// 65535, not 65536) and KpzColour (blue, green, red, ignored byte).

#include <cstdint>

#include "base/values.h"

namespace quillon {

// The fraction step of the single-precision decoding: 1/65535 rounded to a float.
inline constexpr float kKpzFixedStep = 1.5259022e-05f;

// Double precision: header and plot-information values.
double KpzFixedToDouble(std::uint32_t v);
// Single precision: line widths, dash lengths, the pattern angle. Every step is rounded to
// float, so the result is the same whatever precision the FPU evaluates in.
float KpzFixedToFloat(std::uint32_t v);

// File colour (byte 0 blue, 1 green, 2 red) to COLORREF 0x00BBGGRR.
ColorRef KpzColourToColorRef(std::uint32_t v);

}  // namespace quillon
