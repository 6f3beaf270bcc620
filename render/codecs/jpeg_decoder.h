#pragma once
// RGB images stored as one JPEG stream, decoded through libjpeg.

#include <cstdint>
#include <span>
#include <string>

#include "render/codecs/raster_target.h"

namespace quillon {

// Decodes the stream into an Rgb24 target, a row at a time; each pixel's three bytes go into
// the bitmap in the order libjpeg delivers them. Returns false for a damaged or cut stream, or
// one larger than the target: the image is then incomplete and must not be painted. `error`
// receives libjpeg's text when given.
bool DecodeJpeg(std::span<const std::uint8_t> record, RasterTarget& target,
                std::string* error = nullptr);

}  // namespace quillon
