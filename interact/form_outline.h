#pragma once
// Plot To Form: the printer's sheet as an outline on the screen at the view's scale, and where
// the plot lands on the sheet when the outline is placed.

#include "interact/view_state.h"

namespace quillon {

struct OutlineRect {
  int top = 0, left = 0, bottom = 0, right = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

// The sheet and its printable part, in screen pixels from the outline's corner.
struct FormOutlineRects {
  OutlineRect page;
  OutlineRect printable;
};

// What the printer says of its sheet, in printer pixels (GETPHYSPAGESIZE, GETPRINTINGOFFSET)
// and its resolution (LOGPIXELSX).
struct PrinterSheet {
  int width = 0, height = 0;
  int offsetX = 0, offsetY = 0;
  int pixelsPerInch = 0;
};

// The outline at the view's scale: screen pixels per dot s = min(DrawExtentX / page dots X,
// DrawExtentY / page dots Y). percentage is the print scale (100 but for the percentage
// option): a smaller one makes the sheet cover more of the plot.
FormOutlineRects ComputeFormOutline(const PrinterSheet& sheet, double resolution,
                                    const ViewState& view, int pageDotsX, int pageDotsY,
                                    double percentage);

// The zoom factor that brings an outline larger than the view inside it (0.9 of what just
// fits, never below 50 pixels of drawn extent); 0 when it fits already.
double OutlineZoomOut(const FormOutlineRects& outline, const ViewState& view,
                      const ViewFrame& frame);

// The plot job of a placed outline: the view's origin relative to the printable corner and
// the printable size, in printer pixels.
struct FormPlacement {
  double originX = 0, originY = 0;
  double width = 0, height = 0;
};

// pageWidth and pageHeight in metres; at is the outline's corner in window pixels.
FormPlacement PlaceOnForm(const FormOutlineRects& outline, ViewPoint at, const ViewState& view,
                          int pageDotsX, int pageDotsY, double pageWidth, double pageHeight,
                          int printerPixelsPerInch);

}  // namespace quillon
