#include "interact/pan_drag.h"

#include <cstdlib>

#include "interact/navigation.h"

namespace quillon {

void CancelPanDrag(PanDragState& drag) {
  drag.PanDragging = false;
  drag.PanDragOffset = {};
}

bool PanDragStep(Navigation& nav, ViewListener& listener, ViewPoint& last, ViewPoint mouse) {
  const int dx = mouse.x - last.x;
  const int dy = mouse.y - last.y;
  if (std::abs(dx) <= kPanDragDeadZone && std::abs(dy) <= kPanDragDeadZone) return false;

  PanDragState& drag = nav.drag;
  drag.PanDragOffset.x += dx;
  drag.PanDragOffset.y += dy;
  nav.view.xOrg += dx;
  nav.view.yOrg += dy;
  drag.PanDragging = true;

  // Erase the strips the shifted image no longer covers; repaint the rest without erasing.
  // A step against the drag's overall direction gives an inverted strip, which covers nothing.
  const int bw = nav.frame.BufferWidth;
  const int bh = nav.frame.BufferHeight;
  const int ox = drag.PanDragOffset.x;
  const int oy = drag.PanDragOffset.y;
  const auto erase = [&listener](const ViewRect& strip) {
    if (strip.left < strip.right && strip.top < strip.bottom) listener.InvalidateArea(strip, true);
  };
  ViewRect repaint{0, 0, bw, bh};
  if (dx < 0) {
    erase({bw + ox, 0, bw, bh});
    repaint.right = bw + ox;
  } else if (dx > 0) {
    erase({0, 0, ox, bh});
    repaint.left = ox;
  }
  if (dy < 0) {
    erase({0, bh + oy, bw, bh});
    repaint.bottom = bh + oy;
  } else if (dy > 0) {
    erase({0, 0, bw, oy});
    repaint.top = oy;
  }
  listener.UpdateView();
  listener.InvalidateArea(repaint, false);
  last = mouse;
  return true;
}

bool EndPanDrag(Navigation& nav, ViewListener& listener) {
  if (!nav.drag.PanDragging) return false;
  CancelPanDrag(nav.drag);
  if (listener.JournalOpen()) listener.JournalKeyword("PAN");
  Refresh(nav, listener);
  return true;
}

}  // namespace quillon
