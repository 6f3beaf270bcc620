#include "interact/polygon_crossing.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace quillon {
namespace {

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

TEST(PolygonCrossingTest, SegmentsMeet) {
  const struct {
    KpzPoint a1, a2, b1, b2;
    bool meet;
    const char* what;
  } cases[] = {
      {{0, 0}, {10, 10}, {0, 10}, {10, 0}, true, "crossing"},
      {{0, 0}, {10, 0}, {0, 5}, {10, 5}, false, "parallel apart"},
      {{0, 0}, {10, 0}, {20, 0}, {30, 0}, false, "one line, apart"},
      {{0, 0}, {10, 0}, {5, 0}, {15, 0}, true, "one line, overlapping"},
      {{0, 0}, {10, 0}, {10, 0}, {20, 0}, true, "one line, end to end"},
      {{0, 0}, {0, 10}, {0, 20}, {0, 30}, false, "upright line, apart"},
      {{0, 0}, {10, 0}, {5, 0}, {5, 10}, true, "end touching"},
      {{0, 0}, {10, 0}, {5, 1}, {5, 10}, false, "end one dot off"},
      {{0, 0}, {10, 0}, {11, -5}, {11, 5}, false, "crossing the line beyond the segment"},
      {{5, 0}, {5, 0}, {0, 0}, {10, 0}, true, "a point on the segment"},
      {{5, 1}, {5, 1}, {0, 0}, {10, 0}, false, "a point off the segment"},
      {{kMin, kMin}, {kMax, kMax}, {kMin, kMax}, {kMax, kMin}, true, "crossing at the extremes"},
      {{kMin, kMin},
       {kMax, kMax},
       {kMin + 1, kMin},
       {kMax, kMax - 1},
       false,
       "parallel one dot apart at the extremes"},
      {{kMin, kMin},
       {kMax, kMax},
       {kMin + 2, kMin},
       {kMax - 1, kMax},
       true,
       "steeper, crossing near the far end"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SegmentsMeet(c.a1, c.a2, c.b1, c.b2), c.meet) << c.what;
    EXPECT_EQ(SegmentsMeet(c.b1, c.b2, c.a1, c.a2), c.meet) << c.what << ", swapped";
    EXPECT_EQ(SegmentsMeet(c.a2, c.a1, c.b2, c.b1), c.meet) << c.what << ", reversed";
  }
}

TEST(PolygonCrossingTest, Polygons) {
  const struct {
    std::vector<KpzPoint> points;
    bool intersects;
    const char* what;
  } cases[] = {
      {{}, false, "no points"},
      {{{0, 0}, {10, 10}}, false, "two points"},
      {{{0, 0}, {10, 10}, {10, 0}}, false, "triangle"},
      {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}, true, "bow-tie"},
      {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, false, "square"},
      {{{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}}, false, "L-shape"},
      {{{0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}}, false, "collinear edges"},
      {{{0, 0}, {30, 0}, {30, 10}, {20, 10}, {20, 5}, {10, 5}, {10, 10}, {0, 10}},
       false,
       "two edges on one line, apart"},
      {{{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}}, false, "a corner clicked twice"},
      {{{0, 0}, {10, 0}, {0, 10}, {10, 10}}, true, "only the closing edge crosses"},
      {{{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 0}}, true, "an edge ending on another"},
      {{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, -5}}, true, "a spike across the first edge"},
      {{{0, 0}, {10, 10}, {10, 0}, {0, 10}, {-5, 5}}, true, "an earlier crossing stays"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PolygonIntersects(c.points), c.intersects) << c.what;
  }
}

}  // namespace
}  // namespace quillon
