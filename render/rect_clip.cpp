#include "render/rect_clip.h"

namespace quillon {

bool ClipSegment(PointD& a, PointD& b, const BoxD& box) {
  // Liang-Barsky: the segment as a + t (b - a), t in [0, 1], narrowed by each side.
  const double dx = b.x - a.x, dy = b.y - a.y;
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;  // parallel to this side and outside it
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  const PointD start = a;
  if (t1 < 1) b = {start.x + t1 * dx, start.y + t1 * dy};
  if (t0 > 0) a = {start.x + t0 * dx, start.y + t0 * dy};
  return true;
}

std::vector<std::vector<PointD>> ClipPolyline(std::span<const PointD> points, const BoxD& box) {
  std::vector<std::vector<PointD>> runs;
  bool joined = false;  // the previous segment ended inside, unclipped
  for (std::size_t i = 1; i < points.size(); ++i) {
    PointD a = points[i - 1], b = points[i];
    if (!ClipSegment(a, b, box)) {
      joined = false;
      continue;
    }
    if (!joined || !(a == points[i - 1])) runs.push_back({a});
    runs.back().push_back(b);
    joined = b == points[i];
  }
  return runs;
}

namespace {

// One Sutherland-Hodgman pass: keeps the side of the line where inside() holds.
template <typename Inside, typename Cross>
std::vector<PointD> KeepSide(const std::vector<PointD>& in, Inside inside, Cross cross) {
  std::vector<PointD> out;
  if (in.empty()) return out;
  PointD previous = in.back();
  for (const PointD& current : in) {
    const bool now = inside(current), before = inside(previous);
    if (now != before) out.push_back(cross(previous, current));
    if (now) out.push_back(current);
    previous = current;
  }
  return out;
}

PointD AtX(const PointD& a, const PointD& b, double x) {
  return {x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)};
}
PointD AtY(const PointD& a, const PointD& b, double y) {
  return {a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
}

}  // namespace

std::vector<PointD> ClipPolygon(std::span<const PointD> points, const BoxD& box) {
  std::vector<PointD> ring(points.begin(), points.end());
  ring = KeepSide(
      ring, [&](const PointD& p) { return p.x >= box.left; },
      [&](const PointD& a, const PointD& b) { return AtX(a, b, box.left); });
  ring = KeepSide(
      ring, [&](const PointD& p) { return p.x <= box.right; },
      [&](const PointD& a, const PointD& b) { return AtX(a, b, box.right); });
  ring = KeepSide(
      ring, [&](const PointD& p) { return p.y >= box.top; },
      [&](const PointD& a, const PointD& b) { return AtY(a, b, box.top); });
  ring = KeepSide(
      ring, [&](const PointD& p) { return p.y <= box.bottom; },
      [&](const PointD& a, const PointD& b) { return AtY(a, b, box.bottom); });
  return ring;
}

}  // namespace quillon
