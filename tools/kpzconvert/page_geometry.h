#pragma once
// The size of a conversion's surface and the view drawn on it, from the plot's page (metres
// and dots per metre), the view's rotation and the sizing options.

#include <string>

#include "tools/kpzconvert/convert_options.h"

namespace quillon {

struct PlotPage {
  double widthMetres = 0, heightMetres = 0;  // unturned
  double dotsPerMetre = 0;
};

struct PageGeometry {
  double zoom = 0;                      // device pixels per dot
  int deviceWidth = 0, deviceHeight = 0;  // the turned page (or the --size box) in device pixels
  int dpi = 0;                          // device pixels per inch
  double unitsPerPixel = 1;             // surface units (pixels or points) per device pixel
  double surfaceWidth = 0, surfaceHeight = 0;  // pixels of a PNG, points of a PDF/SVG page
};

// Answers "" and fills `geometry`, or why the plot cannot be drawn at that size.
std::string ComputeGeometry(const PlotPage& page, OutputFormat format, const ConvertOptions& options,
                            PageGeometry& geometry);

}  // namespace quillon
