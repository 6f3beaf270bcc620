#pragma once
// One-pixel solid lines written straight into 32-bit pixels, with the pixels GDI's cosmetic
// pens give: Bresenham stepping along the longer axis with GDI's rounding at exact halves,
// the end point left out, and clipping that keeps exactly the pixels of the whole line
// that fall inside the clip.

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/values.h"

namespace quillon {

// 32-bit pixels, row after row; `rowStep` pixels from one row to the next (negative for a
// bottom-up bitmap, with `bits` then pointing at row 0 all the same).
struct PixelSurface {
  std::uint32_t* bits = nullptr;
  std::int32_t width = 0, height = 0;
  std::ptrdiff_t rowStep = 0;
};

// Pixels [left, right) x [top, bottom); the rasteriser clips it to the surface too.
struct PixelClip {
  std::int32_t left, top, right, bottom;
};

// Coordinates beyond this are left to GDI: the clipping arithmetic stays within 64 bits.
inline constexpr std::int32_t kMaxRasterCoordinate = 1 << 29;

// Draws from `from` to `to`, `to` left out. False, with nothing drawn, when a coordinate
// does not fit; a zero-length line draws nothing and answers true.
bool DrawLine(const PixelSurface& surface, const PixelClip& clip, DevicePoint from, DevicePoint to,
              std::uint32_t pixel);
// Every segment of a polyline, each leaving out its end (the next one's start).
bool DrawPolyline(const PixelSurface& surface, const PixelClip& clip,
                  std::span<const DevicePoint> points, std::uint32_t pixel);

}  // namespace quillon
