#pragma once
// 24-bit images stored as rows of three PackBits planes: red, green, blue.

#include <cstdint>
#include <span>

#include "render/codecs/raster_target.h"

namespace quillon {

// One record is one source row. Each plane is decoded until it holds the row's pixels; what a
// plane's last run brings beyond that is dropped. Pixels go out as blue, green, red.
void DecodePlanarRgbRow(std::span<const std::uint8_t> record, std::int32_t row, RasterTarget& target);

// The image's rows one after another. Returns true when every row was filled.
bool DecodePlanarRgbImage(std::span<const std::uint8_t> record, RasterTarget& target);

}  // namespace quillon
