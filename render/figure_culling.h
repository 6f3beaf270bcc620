#pragma once
// Skipping figures that cannot show: a figure whose bounding box, widened by its pen, lies
// wholly outside the visible area of the draw is not sent to the device. Only the drawing
// call is skipped; pens and brushes are still made, so later figures see the same selections.

#include <cstdint>
#include <span>
#include <vector>

#include "render/device.h"
#include "render/draw_state.h"

namespace quillon {

// Takes the device's visible box after the screen mapping is set; `dotsPerPixel` is the
// mapping's size of one device pixel in dots.
void TakeVisibleArea(DrawState& st, Device& dc, double dotsPerPixel);

// The same for a printer once its mapping is set: the page's visible box, with the size of a
// printer pixel taken from it. A print of a zoomed view then spools only what is on the page.
void TakePrintedArea(DrawState& st, Device& dc);

// True when the figure lies wholly outside the visible area; never on Windows 9x, where the
// line patterns are stepped in software and carry on from one figure to the next.
bool OutsideVisibleArea(const DrawState& st, bool windows9x, std::span<const DevicePoint> points,
                        double penWidth);

// A polyline reaching far beyond the visible area (more than 64 times its size away) cut to a
// guard box that far around it, in exact arithmetic: what shows is unchanged, and the device
// is never handed a line to a point hundreds of millions of pixels away, which GDI would step
// through pixel by pixel. False, with `runs` untouched, when the polyline stays within the
// guard box (nearly always) and is drawn as it is.
bool CutFarPolyline(const DrawState& st, std::span<const DevicePoint> points,
                    std::vector<std::vector<DevicePoint>>& runs);

// Polygons (a ring per count) reaching as far: each ring cut to the same guard box. The
// area inside the box, and so everything that shows, is unchanged; a ring with nothing
// inside is dropped. False, with the outputs untouched, when every ring stays within.
bool CutFarPolygons(const DrawState& st, std::span<const DevicePoint> points,
                    std::span<const std::int32_t> counts, std::vector<DevicePoint>& outPoints,
                    std::vector<std::int32_t>& outCounts);

// A Bezier chain reaching as far: drawn as polylines instead, its pieces near the visible
// area flattened to a quarter of a pixel and the rest replaced by chords (which cannot show
// either), then cut like a polyline. False, with `runs` untouched, when the chain stays within
// the guard box or its count is not 1 + 3k (which the device refuses anyway).
bool FlattenFarBezier(const DrawState& st, std::span<const DevicePoint> points, double penWidth,
                      std::vector<std::vector<DevicePoint>>& runs);

}  // namespace quillon
