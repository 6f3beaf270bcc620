#pragma once
// Raster zoom thresholds t1..t5 per MaxRasterZoomLevel. A threshold above 1000 can never be
// reached, so each higher level gives up one more reduction step of detail.

#include <array>
#include <cstdint>

namespace quillon {

using RasterThresholds = std::array<double, 5>;

// Levels above 4 are treated as 4.
RasterThresholds RasterThresholdsForLevel(std::uint32_t maxRasterZoomLevel);

}  // namespace quillon
