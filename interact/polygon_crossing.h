#pragma once
// Whether a clicked polygon crosses itself, decided in exact integer arithmetic so that no
// rounding makes a touching pair of edges look apart or apart ones look touching.

#include <span>

#include "interact/view_state.h"

namespace quillon {

// True when the segments a1-a2 and b1-b2 have a point in common: they cross, an end lies on
// the other segment, or they overlap along one line. Collinear segments that lie apart do not
// meet.
bool SegmentsMeet(KpzPoint a1, KpzPoint a2, KpzPoint b1, KpzPoint b2);

// True when the polygon through the points, closed from the last back to the first, meets
// itself other than where two edges share a corner. Edges sharing an end are not compared,
// nor the closing edge with the first and last edges.
bool PolygonIntersects(std::span<const KpzPoint> points);

}  // namespace quillon
