#include "render/point_reader.h"

namespace quillon {

DevicePoint RotatePoint(std::int64_t x, std::int64_t y, int rotation, PageDots page) {
  std::int64_t rx = x, ry = y;
  switch (rotation) {
    case 90:
      rx = page.y - y;
      ry = x;
      break;
    case 180:
      rx = page.x - x;
      ry = page.y - y;
      break;
    case 270:
      rx = y;
      ry = page.x - x;
      break;
    default:
      break;
  }
  return {static_cast<std::int32_t>(rx), static_cast<std::int32_t>(ry)};
}

bool ReadPoints(ByteReader& in, std::span<DevicePoint> destination, int width, int rotation,
                PageDots page) {
  if (!in.has(PointBytes(destination.size(), width))) {
    in.skip(PointBytes(destination.size(), width));  // marks the reader failed
    return false;
  }
  for (auto& point : destination) {
    std::int64_t x = width == kPoint16 ? in.i16() : in.i32();
    std::int64_t y = width == kPoint16 ? in.i16() : in.i32();
    point = RotatePoint(x, y, rotation, page);
  }
  return in.ok();
}

}  // namespace quillon
