#pragma once
// Lines and areas cut to an axis-aligned box, in exact (double) coordinates. Used where a
// target holds only a narrow coordinate range: what lies outside the box is dropped, what
// lies inside keeps its exact position.

#include <span>
#include <vector>

namespace quillon {

struct PointD {
  double x = 0, y = 0;
  bool operator==(const PointD&) const = default;
};

struct BoxD {
  double left = 0, top = 0, right = 0, bottom = 0;  // inclusive on every side
};

// The part of segment a-b inside the box (a and b moved onto it); false when none is.
bool ClipSegment(PointD& a, PointD& b, const BoxD& box);

// The parts of a polyline inside the box: each run is connected and has at least two points.
std::vector<std::vector<PointD>> ClipPolyline(std::span<const PointD> points, const BoxD& box);

// A closed polygon cut to the box; where it left the box, its outline follows the box's edge,
// so the filled area inside the box is unchanged. Empty when nothing of it is inside.
std::vector<PointD> ClipPolygon(std::span<const PointD> points, const BoxD& box);

}  // namespace quillon
