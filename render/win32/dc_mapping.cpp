#include "render/win32/dc_mapping.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "render/line_raster.h"

namespace quillon {

bool DcMapping::Read(HDC dc) {
  if (::GetLayout(dc) & LAYOUT_RTL) return false;
  if (::GetGraphicsMode(dc) == GM_ADVANCED) {
    XFORM world{};
    if (!::GetWorldTransform(dc, &world)) return false;
    if (world.eM11 != 1 || world.eM12 != 0 || world.eM21 != 0 || world.eM22 != 1 ||
        world.eDx != 0 || world.eDy != 0)
      return false;
  }
  SIZE windowExt{}, viewportExt{};
  POINT windowOrg{}, viewportOrg{};
  if (!::GetWindowExtEx(dc, &windowExt) || !::GetViewportExtEx(dc, &viewportExt) ||
      !::GetWindowOrgEx(dc, &windowOrg) || !::GetViewportOrgEx(dc, &viewportOrg))
    return false;
  if (windowExt.cx == 0 || windowExt.cy == 0) return false;
  // GDI keeps these factors as floats, worked out in double.
  const double sx = static_cast<double>(viewportExt.cx) / windowExt.cx;
  const double sy = static_cast<double>(viewportExt.cy) / windowExt.cy;
  m11_ = static_cast<float>(sx);
  m22_ = static_cast<float>(sy);
  dx_ = static_cast<float>(viewportOrg.x - sx * windowOrg.x);
  dy_ = static_cast<float>(viewportOrg.y - sy * windowOrg.y);
  return std::isfinite(m11_) && std::isfinite(m22_) && std::isfinite(dx_) && std::isfinite(dy_);
}

double DcMapping::PenPixels(double width) const {
  const auto along = [width](float factor, float offset) {
    return std::fabs(std::floor(width * static_cast<double>(factor) + offset + 0.5) -
                     std::floor(static_cast<double>(offset) + 0.5));
  };
  return std::max(along(m11_, dx_), along(m22_, dy_));
}

bool DcMapping::Map(DevicePoint logical, DevicePoint& device) const {
  const double x = std::floor(logical.x * static_cast<double>(m11_) + dx_ + 0.5);
  const double y = std::floor(logical.y * static_cast<double>(m22_) + dy_ + 0.5);
  // Compared as doubles: a 32-bit build would convert to 64-bit integers through a call.
  constexpr double kMost = kMaxRasterCoordinate;
  if (!(x >= -kMost && x <= kMost && y >= -kMost && y <= kMost)) return false;
  device = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
  return true;
}

}  // namespace quillon
