#pragma once
// What the control asks of a draw and what it gets back.

#include "render/draw_state.h"

namespace quillon {

// A screen draw: the drawing area (or the extents at the view scale), the page corner's
// position, and the view the control keeps. zoom 0 fits the page into the area.
struct ScreenView {
  double width = 0, height = 0;
  double originX = 0, originY = 0;
  double zoom = 0;
  int rotation = 0;
  // The container gave the scale: the draw reports the extents of the page at that scale.
  bool extentsFromZoom = false;
};

// A print draw: the extents and origin handed to the print mapping, what it maps, and the
// view's rotation (the print turns with the view even before the view was painted).
struct PrintJob {
  double width = 0, height = 0;
  double originX = 0, originY = 0;
  PlotType plotType = PlotType::WholePage;
  int rotation = 0;
};

// The page in dots (not truncated) at the resolution the last draw ended with.
struct PageMeasure {
  double width = 0, height = 0;
  double resolution = 0;  // dots per metre
};

// What a draw computed, for the control to keep.
struct DrawResult {
  double zoom = 0;               // device pixels per dot after the draw
  double width = 0, height = 0;  // the extents the draw used
  PageMeasure page;
};

}  // namespace quillon
