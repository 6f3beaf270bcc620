#pragma once
// The commands that change the view: zoom about the window centre, fit, half-window pans,
// quarter turns about the window centre, centring on a point and zooming to a rectangle.
// None of them draws: each ends by invalidating the window (and journalling), and the paint
// redraws.

#include "interact/pan_drag.h"
#include "interact/view_listener.h"
#include "interact/view_state.h"

namespace quillon {

// The control's view and what it reads beside it.
struct Navigation {
  ViewState view;
  ViewFrame frame;
  PanDragState drag;
};

// Drawn extents are kept within these pixel lengths by every zoom.
inline constexpr double kMinDrawExtent = 50;
inline constexpr double kMaxDrawExtent = 32767;

// Invalidate without erasing; with the journal open, fix ViewScale to the scale the paint will
// use and write the view-state block.
void Refresh(Navigation& nav, ViewListener& listener);

// Zoom by f about the window centre. A factor that would take either extent outside 50..32767
// changes nothing, but is still journalled and refreshed. Answers whether the view zoomed.
bool ScaleIt(Navigation& nav, ViewListener& listener, double f);
// Zoom by f keeping the document point under the pixel where it is, with the limits and the
// journalling of ScaleIt: the mouse wheel.
bool ZoomAbout(Navigation& nav, ViewListener& listener, double f, ViewPoint pixel);
// Zoom in by ScaleFactor and out by 1 / ScaleFactor. The factor a caller asks for has no
// effect: the step is always the user's ScaleFactor.
bool Scale(Navigation& nav, ViewListener& listener, double requested);
bool ScaleDown(Navigation& nav, ViewListener& listener, double requested);

// Whole document in the drawing area, touching its top-left corner.
void Fit(Navigation& nav, ViewListener& listener);

// Half a window; false (and nothing journalled) when the limit refuses. PanLeft moves the
// image right, PanUp moves it down.
bool PanLeft(Navigation& nav, ViewListener& listener);
bool PanRight(Navigation& nav, ViewListener& listener);
bool PanUp(Navigation& nav, ViewListener& listener);
bool PanDown(Navigation& nav, ViewListener& listener);

// Next rotation: left 0→270→180→90→0, right 0→90→180→270→0.
int RotatedLeft(int rot);
int RotatedRight(int rot);
// A quarter turn keeping the document point under the buffer's centre where it was.
void RotateLeft(Navigation& nav, ViewListener& listener);
void RotateRight(Navigation& nav, ViewListener& listener);

// Moves the origin so that pixel (px, py) comes to the centre of the drawing area; draws
// nothing by itself.
void CentreOn(ViewState& view, const ViewFrame& frame, int px, int py);
// The point tools at a button release: centre, then zoom in, zoom out, or just show it.
bool ZoomInAt(Navigation& nav, ViewListener& listener, int px, int py);
bool ZoomOutAt(Navigation& nav, ViewListener& listener, int px, int py);
void WindowCenter(Navigation& nav, ViewListener& listener, int px, int py);

// Window Area: centre on the rectangle (anchor, corner) and zoom so that its width fills the
// drawing area. A rectangle without width or height does nothing and answers false; otherwise
// the caller clears its rubber rectangle.
bool ZoomToRect(Navigation& nav, ViewListener& listener, ViewPoint anchor, ViewPoint corner);

}  // namespace quillon
