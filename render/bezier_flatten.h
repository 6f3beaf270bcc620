#pragma once
// Cubic Bézier chains as polylines, for targets that cannot draw curves.

#include <span>
#include <vector>

#include "render/rect_clip.h"

namespace quillon {

// A chain as PolyBezier takes it (a start point, then three points per curve) turned into a
// polyline through the same start and end points. Each curve gets enough chords that none
// strays from the curve by more than `tolerance`. Trailing points short of a whole curve are
// ignored, as PolyBezier refuses them.
std::vector<PointD> FlattenBezierChain(std::span<const PointD> points, double tolerance);

}  // namespace quillon
