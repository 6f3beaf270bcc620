#include "interact/copy_geometry.h"

#include <cmath>
#include <limits>

namespace quillon {

namespace {

// Frame values beyond a LONG cannot be given to the metafile.
std::optional<long> Hundredths(double perPixel, int pixels, double zoom) {
  const double value = std::trunc(perPixel * pixels / zoom);
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<long>(value);
}

}  // namespace

std::optional<CopyGeometry> ComputeCopyGeometry(const ScreenMetrics& screen, double resolution,
                                                const ViewState& view, const ViewFrame& frame,
                                                const PaintBounds& bounds, int statusBarHeight) {
  if (screen.widthPixels <= 0 || screen.heightPixels <= 0 || screen.pixelsPerInch <= 0) {
    return std::nullopt;
  }
  const double scale = EffectiveScale(view, frame);
  // Dots per inch, rounded up by a tenth as the stored resolution is a rounded metre value.
  const double u = (resolution * 0.025399999187200026 + 0.1) / screen.pixelsPerInch;
  const double z = scale * u;
  if (!(z > 0) || !std::isfinite(z)) return std::nullopt;

  // Hundredths of a millimetre per pixel, kept exact: whole hundredths would make the picture
  // up to 4 % smaller than its true size (26 instead of 26.46 on a 96 dpi screen).
  const double hx = screen.widthMm * 100.0 / screen.widthPixels;
  const double hy = screen.heightMm * 100.0 / screen.heightPixels;
  const auto left = Hundredths(hx, bounds.left, z);
  const auto top = Hundredths(hy, bounds.top, z);
  const auto right = Hundredths(hx, bounds.right, z);
  const auto bottom = Hundredths(hy, bounds.bottom - statusBarHeight, z);
  if (!left || !top || !right || !bottom) return std::nullopt;

  CopyGeometry g;
  g.dotsPerPixel = u;
  g.trueSizeZoom = z;
  g.frameLeft = *left;
  g.frameTop = *top;
  g.frameRight = *right;
  g.frameBottom = *bottom;
  const double perUnit = scale * u;
  g.metafileView = ScreenView{view.DrawExtentX / perUnit,
                              view.DrawExtentY / perUnit,
                              view.xOrg / perUnit,
                              view.yOrg / perUnit,
                              0,
                              view.Rot,
                              false};
  return g;
}

}  // namespace quillon
