#pragma once
// Raster format codes: which decoder, which pixel kind, which cache and reduction rules.

#include <cstdint>

#include "render/codecs/raster_target.h"

namespace quillon {

namespace raster_format {
inline constexpr std::uint16_t kRunPairs = 0x0001, kPlanarRgb = 0x0002, kPackBits8 = 0x0004,
                               kGroup4 = 0x1000, kJpeg = 0x2000, kLevels = 0x4000, kStored = 0x8000;
}  // namespace raster_format

enum class RasterCodec : std::uint8_t {
  None,
  RunPairs,
  PlanarRgb,
  PackBits8,
  Jpeg,
  Group4,
  Stored
};

// The decoder of a format, in the order the bits are tested; Stored for the 0x8000 kinds
// with a known depth, None for a code nothing can draw.
RasterCodec CodecOf(std::uint16_t format);

// Bits per pixel of a stored (0x8000) format: 1, 4, 8 or 24; 0 when unknown.
int StoredBitCount(std::uint16_t format);

// Bitonal kinds reduce as their rows arrive and set the halving rule.
inline bool IsBitonalFormat(std::uint16_t format) {
  return (format & (raster_format::kRunPairs | raster_format::kGroup4)) != 0 &&
         (format & raster_format::kStored) == 0;
}

// Several resolutions: opcode 54 holds the full image, opcode 61 points at the others.
inline bool HasLevels(std::uint16_t format) {
  return (format & raster_format::kLevels) != 0 && (format & raster_format::kStored) == 0;
}

// Formats whose factor follows the view; all others are drawn at factor 1.
bool IsReducible(std::uint16_t format);

// Rows arrive one record each (else the whole image is one record).
bool IsPerRowFormat(std::uint16_t format);

// The cached image does not record its factor as present when the record is complete:
// several-resolution kinds (opcode 61 does it) and JPEG.
bool SkipsPresentFactor(std::uint16_t format);

PixelKind PixelKindOf(RasterCodec codec);

}  // namespace quillon
