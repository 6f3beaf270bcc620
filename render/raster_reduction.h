#pragma once
// The power-of-two reduction at which a raster is shown on screen.

#include <cstdint>

#include "document/raster_thresholds.h"

namespace quillon {

// a = viewWidth / width against the thresholds t1..t5: 1 above t1, 2 above t2, ... 32 at or
// below t5. A single JPEG, a format that does not follow the view and a raster without a
// width get 1.
int ReductionFactorFor(const RasterThresholds& thresholds, double viewWidth, std::int32_t width,
                       std::uint16_t format);

}  // namespace quillon
