#include "render/figure_culling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

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
// Halvings of a Bezier piece near the visible area before it is taken as flat.
constexpr int kMaxSplits = 24;

// The guard box, when any point lies beyond it.
std::optional<BoxD> FarGuard(const DrawState& st, std::span<const DevicePoint> points) {
  if (!st.visible.known) return std::nullopt;
  const VisibleArea& v = st.visible;
  const double reach =
      kGuardSizes * static_cast<double>(std::max(v.right - v.left, v.bottom - v.top) + 1);
  const BoxD guard{v.left - reach, v.top - reach, v.right + reach, v.bottom + reach};
  const bool far = std::any_of(points.begin(), points.end(), [&](const DevicePoint& p) {
    return p.x < guard.left || p.x > guard.right || p.y < guard.top || p.y > guard.bottom;
  });
  if (!far) return std::nullopt;
  return guard;
}

std::vector<PointD> Exact(std::span<const DevicePoint> points) {
  std::vector<PointD> exact;
  exact.reserve(points.size());
  for (const DevicePoint& p : points) exact.push_back({double(p.x), double(p.y)});
  return exact;
}

std::vector<DevicePoint> Rounded(std::span<const PointD> points) {
  std::vector<DevicePoint> out;
  out.reserve(points.size());
  for (const PointD& p : points)
    out.push_back({static_cast<std::int32_t>(std::lround(p.x)),
                   static_cast<std::int32_t>(std::lround(p.y))});
  return out;
}

// Distance of p from the line through a and b (from a when they coincide).
double DistanceFromLine(const PointD& p, const PointD& a, const PointD& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return std::hypot(p.x - a.x, p.y - a.y);
  return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / length;
}

// Appends the end points of one cubic's pieces: a piece whose control points' box misses
// `near` cannot show and ends in one chord, which stays inside that box too; a piece near it
// is halved until its control points lie within `tolerance` of its chord.
void FlattenNear(const std::array<PointD, 4>& c, const BoxD& near, double tolerance,
                 int splitsLeft, std::vector<PointD>& out) {
  const auto [minX, maxX] = std::minmax({c[0].x, c[1].x, c[2].x, c[3].x});
  const auto [minY, maxY] = std::minmax({c[0].y, c[1].y, c[2].y, c[3].y});
  const bool missesNear =
      maxX < near.left || minX > near.right || maxY < near.top || minY > near.bottom;
  const bool flat = DistanceFromLine(c[1], c[0], c[3]) <= tolerance &&
                    DistanceFromLine(c[2], c[0], c[3]) <= tolerance;
  if (missesNear || flat || splitsLeft == 0) {
    out.push_back(c[3]);
    return;
  }
  auto mid = [](const PointD& a, const PointD& b) { return PointD{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
  const PointD ab = mid(c[0], c[1]), bc = mid(c[1], c[2]), cd = mid(c[2], c[3]);
  const PointD abc = mid(ab, bc), bcd = mid(bc, cd), centre = mid(abc, bcd);
  FlattenNear({c[0], ab, abc, centre}, near, tolerance, splitsLeft - 1, out);
  FlattenNear({centre, bcd, cd, c[3]}, near, tolerance, splitsLeft - 1, out);
}

}  // namespace

void TakeVisibleArea(DrawState& st, Device& dc, double dotsPerPixel) {
  st.visible = {};
  if (!std::isfinite(dotsPerPixel) || dotsPerPixel <= 0) return;
  DeviceRect box{};
  if (!dc.GetVisibleBox(box)) return;
  const auto slack = static_cast<std::int64_t>(std::ceil(kSlackPixels * dotsPerPixel)) + 1;
  st.visible = {true,
                std::min<std::int64_t>(box.left, box.right) - slack,
                std::min<std::int64_t>(box.top, box.bottom) - slack,
                std::max<std::int64_t>(box.left, box.right) + slack,
                std::max<std::int64_t>(box.top, box.bottom) + slack,
                dotsPerPixel};
}

void TakePrintedArea(DrawState& st, Device& dc) {
  st.visible = {};
  DeviceRect box{};
  const int pixels = dc.GetDeviceCaps(gdi::kCapHorzRes);
  if (pixels <= 0 || !dc.GetVisibleBox(box)) return;
  const double dots = std::fabs(static_cast<double>(box.right) - box.left);
  TakeVisibleArea(st, dc, dots / pixels);
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
  // ceil(reach) + 1, through a 32-bit conversion where it fits: asked for every figure, and a
  // 32-bit build makes calls of both ceil and a conversion to 64 bits.
  std::int64_t margin;
  if (reach < 2147483647.0) {
    const auto whole = static_cast<std::int32_t>(reach);
    margin = std::int64_t{whole} + (whole < reach ? 1 : 0) + 1;
  } else {
    margin = static_cast<std::int64_t>(std::ceil(reach)) + 1;
  }
  const VisibleArea& v = st.visible;
  return right + margin < v.left || left - margin > v.right || bottom + margin < v.top ||
         top - margin > v.bottom;
}

bool CutFarPolyline(const DrawState& st, std::span<const DevicePoint> points,
                    std::vector<std::vector<DevicePoint>>& runs) {
  if (points.size() < 2) return false;
  const auto guard = FarGuard(st, points);
  if (!guard) return false;
  runs.clear();
  for (const auto& run : ClipPolyline(Exact(points), *guard)) runs.push_back(Rounded(run));
  return true;
}

bool CutFarPolygons(const DrawState& st, std::span<const DevicePoint> points,
                    std::span<const std::int32_t> counts, std::vector<DevicePoint>& outPoints,
                    std::vector<std::int32_t>& outCounts) {
  const auto guard = FarGuard(st, points);
  if (!guard) return false;
  outPoints.clear();
  outCounts.clear();
  std::size_t at = 0;
  for (const std::int32_t count : counts) {
    if (count < 0 || static_cast<std::size_t>(count) > points.size() - at) break;
    const auto ring = points.subspan(at, static_cast<std::size_t>(count));
    at += ring.size();
    const std::vector<DevicePoint> cut = Rounded(ClipPolygon(Exact(ring), *guard));
    if (cut.size() < 3) continue;
    outPoints.insert(outPoints.end(), cut.begin(), cut.end());
    outCounts.push_back(static_cast<std::int32_t>(cut.size()));
  }
  return true;
}

bool FlattenFarBezier(const DrawState& st, std::span<const DevicePoint> points, double penWidth,
                      std::vector<std::vector<DevicePoint>>& runs) {
  if (points.size() < 4 || (points.size() - 1) % 3 != 0) return false;
  const auto guard = FarGuard(st, points);
  if (!guard) return false;
  const VisibleArea& v = st.visible;
  // A pen's reach, but never beyond the guard box.
  const double pen = std::isfinite(penWidth) ? std::fabs(penWidth) * kPenReach : 0.0;
  const double reach = std::min(pen, guard->right - static_cast<double>(v.right));
  const BoxD near{v.left - reach, v.top - reach, v.right + reach, v.bottom + reach};
  const double tolerance = std::max(v.dotsPerPixel, 1e-3) / 4;
  const std::vector<PointD> control = Exact(points);
  std::vector<PointD> line{control[0]};
  for (std::size_t i = 0; i + 3 < control.size(); i += 3)
    FlattenNear({control[i], control[i + 1], control[i + 2], control[i + 3]}, near, tolerance,
                kMaxSplits, line);
  runs.clear();
  for (const auto& run : ClipPolyline(line, *guard)) runs.push_back(Rounded(run));
  return true;
}

}  // namespace quillon
