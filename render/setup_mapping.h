#pragma once
// Maps document dots onto the device with the isotropic map mode: the screen fit or zoom,
// and on a printer the scale options and plot types, with the current-view clip.

#include "base/numeric.h"
#include "render/device.h"
#include "render/draw_state.h"

namespace quillon {

inline constexpr double kInchesPerMetre = 39.37007874015748;

// An area of the device and where the page's corner goes in it.
struct MapArea {
  double width = 0, height = 0;
  double originX = 0, originY = 0;
};
// The view extents a print maps from.
struct MapExtents {
  double width = 0, height = 0;
};

// Screen: fits the page into the area when the state's zoom is 0 (and writes the fitted zoom
// back), else keeps that zoom; the area's origin moves the page.
void SetupScreenMapping(Device& dc, DrawState& st, const MapArea& area);
// Printer: the printable area, the caller's origin and view extents, mapped by the state's
// scale option and the plot type.
void SetupPrintMapping(Device& dc, const DrawState& st, const MapArea& printable,
                       const MapExtents& view, PlotType plotType);

// Both in one call: printFlag 0 screen, 1 printer; plotType 0 whole page, 1 current view,
// 2 true size at a form origin.
void SetupMapping(Device& dc, DrawState& st, double width, double height, double originX,
                  double originY, double targetWidth, double targetHeight, int printFlag,
                  int plotType);

}  // namespace quillon
