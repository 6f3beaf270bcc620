#include "render/raster_format.h"

namespace quillon {

using namespace raster_format;

RasterCodec CodecOf(std::uint16_t format) {
  if (format & kStored) return StoredBitCount(format) ? RasterCodec::Stored : RasterCodec::None;
  if (format & kRunPairs) return RasterCodec::RunPairs;
  if (format & kPlanarRgb) return RasterCodec::PlanarRgb;
  if (format & kPackBits8) return RasterCodec::PackBits8;
  if (format & kJpeg) return RasterCodec::Jpeg;
  if (format & kGroup4) return RasterCodec::Group4;
  return RasterCodec::None;
}

int StoredBitCount(std::uint16_t format) {
  switch (format & 0xF0) {
    case 0x10:
      return 1;
    case 0x20:
      return 4;
    case 0x40:
      return 8;
    case 0x80:
      return 24;
    default:
      return 0;
  }
}

bool IsReducible(std::uint16_t format) {
  if (format & kStored) return false;
  return (format & (kRunPairs | kGroup4 | kJpeg)) != 0 || format == 0x4002 || format == 0x4004;
}

bool IsPerRowFormat(std::uint16_t format) {
  switch (CodecOf(format)) {
    case RasterCodec::RunPairs:
      return true;
    case RasterCodec::PlanarRgb:
    case RasterCodec::PackBits8:
      return (format & kLevels) == 0;
    default:
      return false;
  }
}

bool SkipsPresentFactor(std::uint16_t format) {
  return format == 0x4002 || format == 0x4004 || format == 0x5000 ||
         ((format & kJpeg) != 0 && (format & kStored) == 0);
}

PixelKind PixelKindOf(RasterCodec codec) {
  switch (codec) {
    case RasterCodec::PlanarRgb:
    case RasterCodec::Jpeg:
      return PixelKind::Rgb24;
    case RasterCodec::PackBits8:
      return PixelKind::Gray8;
    default:
      return PixelKind::Bitonal;
  }
}

}  // namespace quillon
