#pragma once
// Bitonal rows stored as (u16 skip, u16 run) pairs: skip white pixels, then set run pixels.

#include <cstdint>
#include <span>

#include "render/codecs/raster_target.h"

namespace quillon {

// One record is one source row. Pixels past the image width are dropped; a trailing part
// shorter than a pair is ignored.
void DecodeRunPairRow(std::span<const std::uint8_t> record, std::int32_t row, RasterTarget& target);

}  // namespace quillon
