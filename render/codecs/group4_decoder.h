#pragma once
// CCITT Group 4 (T.6) bitonal images, first code bit in the least significant bit of a byte.

#include <cstddef>
#include <cstdint>
#include <span>

#include "render/codecs/raster_lead.h"
#include "render/codecs/raster_target.h"

namespace quillon {

// Changing elements a line may hold; a line with more ends decoding.
inline constexpr std::size_t kGroup4MaxChanges = 8192;

// Decodes the whole image (1 = black) into the target, which turns and reduces it. Decoding
// ends at the end-of-block code, after the image's rows, at the end of the record, or at the
// first damage; rows not reached stay 0. Returns the number of complete lines.
std::int32_t DecodeGroup4(std::span<const std::uint8_t> record, RasterLead lead,
                          RasterTarget& target);

}  // namespace quillon
