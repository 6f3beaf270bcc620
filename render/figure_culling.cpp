#include "render/figure_culling.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

// Device pixels of slack around the box: the mapping rounds, and GDI's one-pixel lines may
// land a pixel beyond their exact place.
constexpr double kSlackPixels = 4;
// A mitred corner reaches out at most half the miter limit (10, GDI's default) times the pen
// width; square caps less. Six widths cover both.
constexpr double kPenReach = 6;
constexpr double kMaxMargin = 1e12;

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

}  // namespace quillon
