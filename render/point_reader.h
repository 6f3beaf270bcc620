#pragma once
// Reads record points and turns them by the view rotation within the page.

#include <cstdint>
#include <span>

#include "document/byte_reader.h"
#include "render/device.h"

namespace quillon {

inline constexpr int kPoint32 = 1;  // x, y as signed 32-bit values
inline constexpr int kPoint16 = 2;  // x, y as signed 16-bit values

struct PageDots {
  std::int64_t x = 0;  // pageDotsX
  std::int64_t y = 0;  // pageDotsY
};

// Bytes that `count` points of `width` occupy in the file.
constexpr std::uint64_t PointBytes(std::uint64_t count, int width) {
  return count * (width == kPoint16 ? 4u : 8u);
}

// Turns one point read as (x, y) by rotation 0, 90, 180 or 270. Results wrap to 32 bits like
// the device's coordinates do.
DevicePoint RotatePoint(std::int64_t x, std::int64_t y, int rotation, PageDots page);

// Reads destination.size() points at the reader's position. False (nothing promised about
// destination) when the points are not all in the file.
bool ReadPoints(ByteReader& in, std::span<DevicePoint> destination, int width, int rotation,
                PageDots page);

}  // namespace quillon
