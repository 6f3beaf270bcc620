#pragma once
// The pixels behind a memory DC, when they can be written directly: a 32-bit RGB DIB section
// selected into it, and the DC's clip as one rectangle of device pixels.

#include <optional>

#include "render/line_raster.h"

struct HDC__;

namespace quillon {

struct DibTarget {
  PixelSurface surface;
  PixelClip clip;
};

// Nothing when the DC holds another kind of bitmap (or none), or its clip is not a rectangle.
std::optional<DibTarget> FindDibTarget(HDC__* dc);

}  // namespace quillon
