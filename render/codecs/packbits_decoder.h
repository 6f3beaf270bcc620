#pragma once
// 8-bit palette images in the PackBits variant.

#include <cstdint>
#include <span>

#include "render/codecs/raster_lead.h"
#include "render/codecs/raster_target.h"

namespace quillon {

// One record is one source row; decoding stops when the record is used up or the row is full.
void DecodePackBits8Row(std::span<const std::uint8_t> record, std::int32_t row, RasterTarget& target);

// The whole image as one pixel stream (runs may cross row ends). Returns true when every row
// was filled; rows not reached stay 0.
bool DecodePackBits8Image(std::span<const std::uint8_t> record, RasterLead lead,
                          RasterTarget& target);

}  // namespace quillon
