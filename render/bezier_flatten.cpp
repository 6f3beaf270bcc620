#include "render/bezier_flatten.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

// Beyond this a curve is larger than any target: more chords would only cost time.
constexpr int kMaxChords = 1024;

// Chords needed so that the chord error stays within tolerance: the curve's second
// derivative is bounded by 6 * max |p0 - 2 p1 + p2|, |p1 - 2 p2 + p3|, and a chord of
// parameter length h strays at most h^2 / 8 of that.
int ChordsFor(const PointD& p0, const PointD& p1, const PointD& p2, const PointD& p3,
              double tolerance) {
  const double ax = p0.x - 2 * p1.x + p2.x, ay = p0.y - 2 * p1.y + p2.y;
  const double bx = p1.x - 2 * p2.x + p3.x, by = p1.y - 2 * p2.y + p3.y;
  const double bend = 6 * std::max(std::hypot(ax, ay), std::hypot(bx, by));
  if (!(bend > 0) || !(tolerance > 0)) return 1;
  const double n = std::ceil(std::sqrt(bend / (8 * tolerance)));
  if (!(n < kMaxChords)) return kMaxChords;
  return std::max(1, static_cast<int>(n));
}

PointD At(const PointD& p0, const PointD& p1, const PointD& p2, const PointD& p3, double t) {
  const double u = 1 - t;
  const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
  return {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y};
}

}  // namespace

std::vector<PointD> FlattenBezierChain(std::span<const PointD> points, double tolerance) {
  std::vector<PointD> line;
  if (points.size() < 4) return line;
  line.push_back(points[0]);
  for (std::size_t i = 0; i + 3 < points.size(); i += 3) {
    const PointD &p0 = points[i], &p1 = points[i + 1], &p2 = points[i + 2], &p3 = points[i + 3];
    const int chords = ChordsFor(p0, p1, p2, p3, tolerance);
    for (int k = 1; k < chords; ++k) line.push_back(At(p0, p1, p2, p3, double(k) / chords));
    line.push_back(p3);  // exact, so that chained curves meet
  }
  return line;
}

}  // namespace quillon
