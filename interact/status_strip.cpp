#include "interact/status_strip.h"

namespace quillon {

void ShowStatusStrip(ViewState& view, ViewFrame& frame, bool show, int fullBufferHeight) {
  double& downExtent = IsSideways(view.Rot) ? view.DrawExtentX : view.DrawExtentY;
  if (show) {
    frame.BufferHeight -= kStatusStripHeight;
    downExtent -= kStatusStripHeight;
  } else {
    frame.BufferHeight = fullBufferHeight;
    downExtent += kStatusStripHeight;
  }
  view.ViewScale = 0;
  frame.ViewHeight = frame.BufferHeight;
}

}  // namespace quillon
