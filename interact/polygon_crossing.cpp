#include "interact/polygon_crossing.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace quillon {
namespace {

int SignOf(std::int64_t v) { return (v > 0) - (v < 0); }

std::uint64_t Magnitude(std::int64_t v) {
  return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

// Sign of a*b - c*d for factors below 2^32 in magnitude: the products' magnitudes fit in 64
// unsigned bits, though not always in 64 signed ones.
int SignOfDifference(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
  const int p = SignOf(a) * SignOf(b);
  const int q = SignOf(c) * SignOf(d);
  if (p != q) return p > q ? 1 : -1;
  if (p == 0) return 0;
  const std::uint64_t mp = Magnitude(a) * Magnitude(b);
  const std::uint64_t mq = Magnitude(c) * Magnitude(d);
  const int bySize = (mp > mq) - (mp < mq);
  return p > 0 ? bySize : -bySize;
}

// Which side of the line o-a the point b lies on: 1 left, -1 right, 0 on it.
int Side(KpzPoint o, KpzPoint a, KpzPoint b) {
  const std::int64_t ax = static_cast<std::int64_t>(a.x) - o.x;
  const std::int64_t ay = static_cast<std::int64_t>(a.y) - o.y;
  const std::int64_t bx = static_cast<std::int64_t>(b.x) - o.x;
  const std::int64_t by = static_cast<std::int64_t>(b.y) - o.y;
  return SignOfDifference(ax, by, ay, bx);
}

bool RangesOverlap(int a1, int a2, int b1, int b2) {
  return std::max(std::min(a1, a2), std::min(b1, b2)) <=
         std::min(std::max(a1, a2), std::max(b1, b2));
}

bool ShareAnEnd(KpzPoint a1, KpzPoint a2, KpzPoint b1, KpzPoint b2) {
  return b1 == a2 || b2 == a1 || b1 == a1 || b2 == a2;
}

}  // namespace

bool SegmentsMeet(KpzPoint a1, KpzPoint a2, KpzPoint b1, KpzPoint b2) {
  const int s1 = Side(a1, a2, b1);
  const int s2 = Side(a1, a2, b2);
  if (s1 != 0 && s1 == s2) return false;
  const int s3 = Side(b1, b2, a1);
  const int s4 = Side(b1, b2, a2);
  if (s3 != 0 && s3 == s4) return false;
  if (s1 != 0 || s2 != 0 || s3 != 0 || s4 != 0) return true;
  // All four on one line: they meet only where their extents overlap.
  return RangesOverlap(a1.x, a2.x, b1.x, b2.x) && RangesOverlap(a1.y, a2.y, b1.y, b2.y);
}

bool PolygonIntersects(std::span<const KpzPoint> p) {
  const std::size_t n = p.size();
  if (n <= 2) return false;
  for (std::size_t i = 1; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      if (ShareAnEnd(p[i - 1], p[i], p[j - 1], p[j])) continue;
      if (SegmentsMeet(p[i - 1], p[i], p[j - 1], p[j])) return true;
    }
  }
  for (std::size_t k = 2; k + 1 < n; ++k) {
    if (SegmentsMeet(p[k - 1], p[k], p[0], p[n - 1])) return true;
  }
  return false;
}

}  // namespace quillon
