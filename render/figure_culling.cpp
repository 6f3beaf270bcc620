#include "render/figure_culling.h"

#include <algorithm>
#include <cmath>

#include "render/rect_clip.h"

namespace quillon {

namespace {

// Device pixels of slack around the box: the mapping rounds, and GDI's one-pixel lines may
// land a pixel beyond their exact place.
constexpr double kSlackPixels = 4;
// A mitred corner reaches out at most half the miter limit (10, GDI's default) times the pen
// width; square caps less. Six widths cover both.
constexpr double kPenReach = 6;
constexpr double kMaxMargin = 1e12;
// How many times the visible area's size a polyline may reach beyond it before it is cut.
constexpr double kGuardSizes = 64;

}  // namespace

void TakeVisibleArea(DrawState& st, Device& dc, double dotsPerPixel) {
  st.visible = {};
  if (!std::isfinite(dotsPerPixel) || dotsPerPixel <= 0) return;
  DeviceRect box{};
  if (!dc.GetVisibleBox(box)) return;
  const auto slack = static_cast<std::int64_t>(std::ceil(kSlackPixels * dotsPerPixel)) + 1;
  st.visible = {true, std::min<std::int64_t>(box.left, box.right) - slack,
                std::min<std::int64_t>(box.top, box.bottom) - slack,
                std::max<std::int64_t>(box.left, box.right) + slack,
                std::max<std::int64_t>(box.top, box.bottom) + slack};
}

bool OutsideVisibleArea(const DrawState& st, bool windows9x, std::span<const DevicePoint> points,
                        double penWidth) {
  if (!st.visible.known || windows9x || points.empty()) return false;
  std::int32_t left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
  for (const DevicePoint& p : points) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  const double reach = std::fabs(penWidth) * kPenReach;
  // NaN or huge widths skip nothing.
  if (!(reach < kMaxMargin)) return false;
  const auto margin = static_cast<std::int64_t>(std::ceil(reach)) + 1;
  const VisibleArea& v = st.visible;
  return right + margin < v.left || left - margin > v.right || bottom + margin < v.top ||
         top - margin > v.bottom;
}

bool CutFarPolyline(const DrawState& st, std::span<const DevicePoint> points,
                    std::vector<std::vector<DevicePoint>>& runs) {
  if (!st.visible.known || points.size() < 2) return false;
  const VisibleArea& v = st.visible;
  const double reach =
      kGuardSizes * static_cast<double>(std::max(v.right - v.left, v.bottom - v.top) + 1);
  const BoxD guard{v.left - reach, v.top - reach, v.right + reach, v.bottom + reach};
  const bool far = std::any_of(points.begin(), points.end(), [&](const DevicePoint& p) {
    return p.x < guard.left || p.x > guard.right || p.y < guard.top || p.y > guard.bottom;
  });
  if (!far) return false;
  std::vector<PointD> exact;
  exact.reserve(points.size());
  for (const DevicePoint& p : points) exact.push_back({double(p.x), double(p.y)});
  runs.clear();
  for (const auto& run : ClipPolyline(exact, guard)) {
    std::vector<DevicePoint>& out = runs.emplace_back();
    for (const PointD& p : run)
      out.push_back({static_cast<std::int32_t>(std::lround(p.x)),
                     static_cast<std::int32_t>(std::lround(p.y))});
  }
  return true;
}

}  // namespace quillon
