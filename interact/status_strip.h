#pragma once
// Showing and hiding the status strip under the drawing area: the drawing area loses or gets
// back the strip's height, and the view is fitted again at the next paint.

#include "interact/view_state.h"

namespace quillon {

inline constexpr int kStatusStripHeight = 17;

// fullBufferHeight is the drawing area's height without a strip, as it was at the load. The
// extent that runs down the screen (Y at Rot 0 or 180, X when sideways) changes by the strip's
// height, so hiding undoes showing exactly.
void ShowStatusStrip(ViewState& view, ViewFrame& frame, bool show, int fullBufferHeight);

}  // namespace quillon
