#include "render/raster_reduction.h"

#include "render/raster_format.h"

namespace quillon {

int ReductionFactorFor(const RasterThresholds& t, double viewWidth, std::int32_t width,
                       std::uint16_t format) {
  if (!IsReducible(format) || width <= 0) return 1;
  if ((format & raster_format::kJpeg) && !(format & raster_format::kLevels)) return 1;
  const double a = viewWidth / width;
  if (a > t[0]) return 1;
  if (a > t[1]) return 2;
  if (a > t[2]) return 4;
  if (a > t[3]) return 8;
  if (a > t[4]) return 16;
  return 32;
}

}  // namespace quillon
