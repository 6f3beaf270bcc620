#pragma once
// Pattern brushes for the screen: small patterns as they are, large ones reduced for a
// zoomed-out view and turned with the view rotation.

#include <cstdint>
#include <optional>
#include <vector>

#include "render/codecs/halving_tables.h"
#include "render/device.h"
#include "render/draw_state.h"

namespace quillon {

// Below this width or height a pattern is used as defined.
inline constexpr std::int32_t kSmallPatternSide = 20;
// A reduction is allowed only while the reduced pattern keeps this many pixels a side.
inline constexpr std::int32_t kMinReducedSide = 21;

// L: the largest of 16, 8, 4, 2 that leaves both sides at least kMinReducedSide, else 1.
int LargestReduction(std::int32_t width, std::int32_t height);
// E for a view of `zoom` device pixels per dot (D = 1 / zoom): 16, 8, 4, 2 above those D,
// each at most L; 1 for D up to 2 and for a zoom that is not a positive number.
int ReductionFor(int largest, double zoom);
// The quarter turn for a pattern angle, or none when the angle is not exactly 0, 90, 180 or
// 270: (angle - rotation) normalised to 0..359.
std::optional<int> PatternTurn(float patternAngle, int rotation);

// The packed bitmap a screen brush is made from: reduced by `reduction` (a power of two) and
// turned by `turn`. One-bit patterns halve through the tables; others by HalvePixels.
std::vector<std::uint8_t> ReducedTurnedDib(const PatternEntry& entry, const HalvingTables& tables,
                                           int reduction, std::optional<int> turn);

// Makes the DIB pattern brush for the entry (pattern path, screen). kNoObject when the
// device refuses or the pattern has no bitmap.
ObjectId CreateScreenPatternBrush(Device& dc, const PatternEntry& entry,
                                  const HalvingTables& tables, double zoom, float patternAngle,
                                  int rotation);

}  // namespace quillon
