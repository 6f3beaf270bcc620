#pragma once
// Maps document dots onto the device with the isotropic map mode: the screen fit or zoom,
// and on a printer the scale options and plot types, with the current-view clip.

#include "document/kpz_document.h"
#include "render/device.h"

namespace quillon {

inline constexpr double kInchesPerMetre = 39.37007874015748;

// width/height: the drawing area (screen) or the printable area (printer); origin; the view
// extents as target size; printFlag 0 screen, 1 printer; plotType 0 whole page, 1 current
// view, 2 true size at a form origin. A screen draw with zoom 0 writes the fitted zoom back.
void SetupMapping(Device& dc, KpzDocument& doc, double width, double height, double originX,
                  double originY, double targetWidth, double targetHeight, int printFlag,
                  int plotType);

}  // namespace quillon
