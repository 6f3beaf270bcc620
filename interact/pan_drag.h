#pragma once
// Panning by dragging: the origin follows the mouse while the window shows the last drawn
// image shifted by the accumulated offset; the document is drawn again only when the drag
// ends.

#include "interact/view_listener.h"
#include "interact/view_state.h"

namespace quillon {

struct Navigation;

struct PanDragState {
  // While set, a paint copies the back buffer shifted by PanDragOffset instead of drawing.
  bool PanDragging = false;
  ViewPoint PanDragOffset;
};

// A move of at most this many pixels along both axes is ignored, so a click does not pan.
inline constexpr int kPanDragDeadZone = 4;

// Drops a drag's shifted display without ending the drag: the pans and a button press. The
// offset goes with the flag, so that a later drag does not start from a stale shift.
void CancelPanDrag(PanDragState& drag);

// One mouse move with the button held; last is the last accepted position. Answers whether the
// move was taken.
bool PanDragStep(Navigation& nav, ViewListener& listener, ViewPoint& last, ViewPoint mouse);

// Button released (or found up): the document is drawn at the new origin. Does nothing when
// no step was taken.
bool EndPanDrag(Navigation& nav, ViewListener& listener);

}  // namespace quillon
