#include "interact/form_outline.h"

#include <algorithm>
#include <cmath>

#include "base/numeric.h"

namespace quillon {

namespace {

constexpr double kInchesPerMetre = 39.37007874015748;

// The scale of the view in screen pixels per dot of the page.
double PixelsPerDot(const ViewState& view, int pageDotsX, int pageDotsY) {
  if (pageDotsX <= 0 || pageDotsY <= 0) return 0;
  return std::min(view.DrawExtentX / pageDotsX, view.DrawExtentY / pageDotsY);
}

int Scaled(double dots, double s, double factor) { return TruncToInt(dots * s / factor); }

}  // namespace

FormOutlineRects ComputeFormOutline(const PrinterSheet& sheet, double resolution,
                                    const ViewState& view, int pageDotsX, int pageDotsY,
                                    double percentage) {
  FormOutlineRects out;
  if (sheet.pixelsPerInch <= 0) return out;
  // Printer pixels to page dots.
  const double k = resolution * 0.025399999187200026 / sheet.pixelsPerInch + 0.0001;
  const double wu = std::trunc(sheet.width * k), hu = std::trunc(sheet.height * k);
  const double xu = std::trunc(sheet.offsetX * k), yu = std::trunc(sheet.offsetY * k);
  const double s = PixelsPerDot(view, pageDotsX, pageDotsY);
  const double factor = percentage > 0 ? percentage * 0.01 : 1;
  out.page = {0, 0, Scaled(hu, s, factor), Scaled(wu, s, factor)};
  out.printable = {Scaled(yu, s, factor), Scaled(xu, s, factor), Scaled(hu - yu, s, factor),
                   Scaled(wu - xu, s, factor)};
  return out;
}

double OutlineZoomOut(const FormOutlineRects& outline, const ViewState& view,
                      const ViewFrame& frame) {
  const double height = outline.page.height(), width = outline.page.width();
  if (height <= frame.ViewHeight && width <= frame.ViewWidth) return 0;
  if (height <= 0 || width <= 0) return 0;
  double v = 0.9 * std::min(frame.ViewHeight / height, frame.ViewWidth / width);
  if (view.DrawExtentX > 0 && v * view.DrawExtentX < 50) v = 50 / view.DrawExtentX;
  if (view.DrawExtentY > 0 && v * view.DrawExtentY < 50) v = 50 / view.DrawExtentY;
  return v;
}

FormPlacement PlaceOnForm(const FormOutlineRects& outline, ViewPoint at, const ViewState& view,
                          int pageDotsX, int pageDotsY, double pageWidth, double pageHeight,
                          int printerPixelsPerInch) {
  FormPlacement p;
  if (pageDotsX <= 0 || pageDotsY <= 0 || view.DrawExtentX <= 0 || view.DrawExtentY <= 0) return p;
  const double left = at.x + outline.printable.left, top = at.y + outline.printable.top;
  const double right = at.x + outline.printable.right, bottom = at.y + outline.printable.bottom;
  // Printer pixels per screen pixel at true size, along the axis that limits the view.
  const double f = view.DrawExtentY / pageDotsY > view.DrawExtentX / pageDotsX
                       ? pageWidth * kInchesPerMetre * printerPixelsPerInch / view.DrawExtentX
                       : pageHeight * kInchesPerMetre * printerPixelsPerInch / view.DrawExtentY;
  p.originX = (view.xOrg - left) * f;
  p.originY = (view.yOrg - top) * f;
  p.width = std::fabs(std::trunc(std::fabs(std::trunc(right - view.xOrg)) * f -
                                 std::fabs(std::trunc(left - view.xOrg)) * f));
  p.height = std::fabs(std::trunc(std::fabs(std::trunc(bottom - view.yOrg)) * f -
                                  std::fabs(std::trunc(top - view.yOrg)) * f));
  return p;
}

}  // namespace quillon
