#include "document/raster_thresholds.h"

namespace quillon {

RasterThresholds RasterThresholdsForLevel(std::uint32_t maxRasterZoomLevel) {
  static constexpr RasterThresholds kFine = {0.666666667, 0.3333333, 0.16666667, 0.08, 0.04};
  static constexpr RasterThresholds kUnreachable = {1000.666666667, 1000.3333333, 1000.16666667,
                                                    1000.08, 0.04};
  const std::uint32_t level = maxRasterZoomLevel > 4 ? 4 : maxRasterZoomLevel;
  RasterThresholds result = kFine;
  for (std::uint32_t i = 0; i < level; ++i) result[i] = kUnreachable[i];
  return result;
}

}  // namespace quillon
