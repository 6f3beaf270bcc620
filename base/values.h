#pragma once
// Value types every layer may use: a colour as GDI packs it and integer points and boxes in
// device units.

#include <cstdint>

namespace quillon {

using ColorRef = std::uint32_t;  // 0x00BBGGRR

struct DevicePoint {
  std::int32_t x;
  std::int32_t y;
  bool operator==(const DevicePoint&) const = default;
};

struct DeviceRect {
  std::int32_t left, top, right, bottom;
};

}  // namespace quillon
