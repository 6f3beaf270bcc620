#pragma once
// The clipboard copy's vector picture: the frame that gives the shown area its true physical
// size, and the view that draws the same area at one dot per frame unit.

#include <optional>

#include "interact/view_state.h"
#include "render/draw_request.h"

namespace quillon {

// What the screen DC says of itself (GetDeviceCaps).
struct ScreenMetrics {
  int widthMm = 0;        // HORZSIZE
  int heightMm = 0;       // VERTSIZE
  int widthPixels = 0;    // HORZRES
  int heightPixels = 0;   // VERTRES
  int pixelsPerInch = 0;  // LOGPIXELSX
};

// The drawing bounds of the last paint, in window pixels.
struct PaintBounds {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct CopyGeometry {
  // Document dots per screen pixel at true size.
  double dotsPerPixel = 0;
  // The view's scale relative to true size.
  double trueSizeZoom = 0;
  // The metafile frame in hundredths of a millimetre.
  long frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0;
  // The view for the metafile: the screen view's extents and origin in true-size pixels.
  ScreenView metafileView;
};

// nullopt when the numbers give no picture (a screen without a size, a plot without a
// resolution): the metafile is then left out rather than given an infinite frame.
// statusBarHeight is 0 while the status bar is hidden. A scale still 0 after a zoom is taken
// as the one the next paint derives.
std::optional<CopyGeometry> ComputeCopyGeometry(const ScreenMetrics& screen, double resolution,
                                                const ViewState& view, const ViewFrame& frame,
                                                const PaintBounds& bounds, int statusBarHeight);

}  // namespace quillon
