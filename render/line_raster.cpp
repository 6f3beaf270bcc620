#include "render/line_raster.h"

#include <algorithm>
#include <cstdlib>

namespace quillon {

namespace {

// Floor division for a positive divisor.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

// GDI numbers the octants 1 to 8 counter-clockwise from +x with y down, and rounds a minor
// step taken at an exact half up in octants 3, 5, 6 and 8, down in the others.
int Bias(std::int64_t dx, std::int64_t dy) {
  int octant;
  if (dy > 0) {
    octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
  } else {
    octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
  }
  return (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
}

// Along the major axis pixel k (0 <= k < major) has taken
//   m(k) = floor((2 k minor + major - 1 + bias) / (2 major))
// minor steps. First k whose m(k) is at least `steps`:
std::int64_t FirstStepWith(std::int64_t steps, std::int64_t major, std::int64_t minor, int bias) {
  if (steps <= 0) return 0;
  if (minor == 0) return major;  // never steps
  return CeilDiv(2 * steps * major - major + 1 - bias, 2 * minor);
}

// Writes `count` pixels from index `at`, stepping along the major axis and, whenever the
// remainder r (below twoMajor) reaches twoMajor, along the minor one. The remainder stays
// below 2^32: twoMajor and twoMinor are at most 2^31 (coordinates are within 2^29), so the
// walk needs no 64-bit arithmetic, which a 32-bit build would do in pairs of instructions.
void Walk(std::uint32_t* bits, std::ptrdiff_t at, std::ptrdiff_t count, std::ptrdiff_t majorDelta,
          std::ptrdiff_t minorDelta, std::uint32_t r, std::uint32_t twoMinor,
          std::uint32_t twoMajor, std::uint32_t pixel) {
  for (; count > 0; --count) {
    bits[at] = pixel;
    at += majorDelta;
    r += twoMinor;
    if (r >= twoMajor) {
      r -= twoMajor;
      at += minorDelta;
    }
  }
}

bool Fits(DevicePoint p) {
  return p.x >= -kMaxRasterCoordinate && p.x <= kMaxRasterCoordinate &&
         p.y >= -kMaxRasterCoordinate && p.y <= kMaxRasterCoordinate;
}

}  // namespace

bool DrawLine(const PixelSurface& surface, const PixelClip& clip, DevicePoint from, DevicePoint to,
              std::uint32_t pixel) {
  if (!Fits(from) || !Fits(to)) return false;
  const std::int64_t dx = std::int64_t{to.x} - from.x, dy = std::int64_t{to.y} - from.y;
  if (dx == 0 && dy == 0) return true;
  // The clip within the surface.
  const std::int64_t left = std::max(clip.left, 0), top = std::max(clip.top, 0);
  const std::int64_t right = std::min(clip.right, surface.width);
  const std::int64_t bottom = std::min(clip.bottom, surface.height);
  if (left >= right || top >= bottom || surface.bits == nullptr) return true;

  const bool xMajor = std::llabs(dx) > std::llabs(dy);
  const std::int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
  const std::int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
  const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
  const int bias = Bias(dx, dy);
  const std::int64_t majorStart = xMajor ? from.x : from.y;
  const std::int64_t minorStart = xMajor ? from.y : from.x;
  const std::ptrdiff_t majorDelta = xMajor ? majorStep : majorStep * surface.rowStep;
  const std::ptrdiff_t minorDelta = xMajor ? minorStep * surface.rowStep : minorStep;
  const auto twoMinor = static_cast<std::uint32_t>(2 * minor);
  const auto twoMajor = static_cast<std::uint32_t>(2 * major);
  // A line with both ends inside the clip (most of them) is walked whole, with no division.
  if (from.x >= left && from.x < right && from.y >= top && from.y < bottom && to.x >= left &&
      to.x < right && to.y >= top && to.y < bottom) {
    const std::ptrdiff_t at =
        static_cast<std::ptrdiff_t>(from.y) * surface.rowStep + static_cast<std::ptrdiff_t>(from.x);
    Walk(surface.bits, at, static_cast<std::ptrdiff_t>(major), majorDelta, minorDelta,
         static_cast<std::uint32_t>(major - 1 + bias), twoMinor, twoMajor, pixel);
    return true;
  }
  const std::int64_t majorLow = xMajor ? left : top, majorHigh = xMajor ? right : bottom;
  const std::int64_t minorLow = xMajor ? top : left, minorHigh = xMajor ? bottom : right;

  // Steps k in [first, last) whose major coordinate lies in [majorLow, majorHigh).
  std::int64_t first = 0, last = major;
  if (majorStep > 0) {
    first = std::max(first, majorLow - majorStart);
    last = std::min(last, majorHigh - majorStart);
  } else {
    first = std::max(first, majorStart - (majorHigh - 1));
    last = std::min(last, majorStart - majorLow + 1);
  }
  // ... and whose minor coordinate minorStart + minorStep * m(k) lies in [minorLow, minorHigh).
  const std::int64_t stepsLow =
      minorStep > 0 ? minorLow - minorStart : minorStart - (minorHigh - 1);
  const std::int64_t stepsHigh = minorStep > 0 ? minorHigh - 1 - minorStart : minorStart - minorLow;
  if (stepsHigh < 0) return true;
  first = std::max(first, FirstStepWith(stepsLow, major, minor, bias));
  last = std::min(last, FirstStepWith(stepsHigh + 1, major, minor, bias));
  if (first >= last) return true;

  // Walk from `first`: remainder r of the numerator of m(k) over 2 major.
  const std::int64_t numerator = 2 * first * minor + major - 1 + bias;
  std::int64_t steps = numerator / (2 * major);
  std::int64_t r = numerator - steps * 2 * major;
  std::int64_t x = xMajor ? majorStart + majorStep * first : minorStart + minorStep * steps;
  std::int64_t y = xMajor ? minorStart + minorStep * steps : majorStart + majorStep * first;
  // An index, not a pointer: the walk's last step may point past the bitmap.
  const std::ptrdiff_t at =
      static_cast<std::ptrdiff_t>(y) * surface.rowStep + static_cast<std::ptrdiff_t>(x);
  // last - first is at most the clip's extent along the major axis.
  Walk(surface.bits, at, static_cast<std::ptrdiff_t>(last - first), majorDelta, minorDelta,
       static_cast<std::uint32_t>(r), twoMinor, twoMajor, pixel);
  return true;
}

bool DrawPolyline(const PixelSurface& surface, const PixelClip& clip,
                  std::span<const DevicePoint> points, std::uint32_t pixel) {
  bool all = true;
  for (std::size_t i = 1; i < points.size(); ++i)
    all = DrawLine(surface, clip, points[i - 1], points[i], pixel) && all;
  return all;
}

}  // namespace quillon
