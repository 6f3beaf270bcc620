#pragma once
// Skipping figures that cannot show: a figure whose bounding box, widened by its pen, lies
// wholly outside the visible area of the draw is not sent to the device. Only the drawing
// call is skipped; pens and brushes are still made, so later figures see the same selections.

#include <span>
#include <vector>

#include "render/device.h"
#include "render/draw_state.h"

namespace quillon {

// Takes the device's visible box after the screen mapping is set; `dotsPerPixel` is the
// mapping's size of one device pixel in dots.
void TakeVisibleArea(DrawState& st, Device& dc, double dotsPerPixel);

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

}  // namespace quillon
