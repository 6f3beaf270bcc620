#pragma once
// Tool feedback drawn straight onto the control window with the inverting pen
// (R2_NOTXORPEN): drawing a figure a second time removes it. The window's DC is held only
// for one drawing step.

#include <windows.h>

#include <span>

#include "base/win32/unique_handle.h"
#include "control/win32/saved_dc_state.h"
#include "interact/mouse_tools.h"

namespace quillon {

// The Plot To Form outline relative to its position: the paper and its printable part.
struct FormOutline {
  RECT page{0, 0, 0, 0};
  RECT printable{0, 0, 0, 0};
};

// A DC set for inverting figures with no fill; everything it set is undone at the end.
class InvertingDc {
 public:
  // On a DC the caller owns (a paint's).
  explicit InvertingDc(HDC dc);
  InvertingDc(const InvertingDc&) = delete;
  InvertingDc& operator=(const InvertingDc&) = delete;

  void Rectangle(HPEN pen, ViewPoint a, ViewPoint b);
  void Line(HPEN pen, ViewPoint from, ViewPoint to);
  void Polyline(HPEN pen, std::span<const ViewPoint> points);
  void Outline(HPEN pagePen, HPEN printablePen, const FormOutline& outline, ViewPoint at);

 private:
  HDC dc_;
  SavedDcState saved_;
};

// The pens of the figures, made with the control.
struct RubberPens {
  HPEN blue;
  HPEN red;
};

// Draws the figures in order onto the window's DC.
void DrawRubberFigures(HWND window, std::span<const RubberFigure> figures, const RubberPens& pens,
                       const FormOutline& outline);

// The measured figure: the polyline through the points in blue; for an area of three points
// or more the closing side from the first to the last point, red and dash-dot-dotted.
void DrawMeasureFigure(InvertingDc& dc, std::span<const ViewPoint> points, bool polygon,
                       HPEN bluePen);

}  // namespace quillon
