#include "interact/navigation.h"

#include <cmath>
#include <string_view>

#include "base/numeric.h"

namespace quillon {
namespace {

void Journal(ViewListener& listener, std::string_view keyword) {
  if (listener.JournalOpen()) listener.JournalKeyword(keyword);
}

bool ExtentInRange(double extent) { return extent >= kMinDrawExtent && extent <= kMaxDrawExtent; }

// On-screen width and height of the document, whole pixels.
int ScreenWidth(const Navigation& nav) {
  const double s = EffectiveScale(nav.view, nav.frame);
  const int size = IsSideways(nav.view.Rot) ? nav.frame.KpzYSize : nav.frame.KpzXSize;
  return TruncToInt(s * size + 0.5);
}

int ScreenHeight(const Navigation& nav) {
  const double s = EffectiveScale(nav.view, nav.frame);
  const int size = IsSideways(nav.view.Rot) ? nav.frame.KpzXSize : nav.frame.KpzYSize;
  return TruncToInt(s * size + 0.5);
}

// Every pan first drops a drag's shifted display; a refused pan does nothing more.
bool Pan(Navigation& nav, ViewListener& listener, double& origin, double to, bool allowed,
         std::string_view keyword) {
  CancelPanDrag(nav.drag);
  if (!allowed) return false;
  origin = to;
  Journal(listener, keyword);
  Refresh(nav, listener);
  return true;
}

void Rotate(Navigation& nav, ViewListener& listener, int rot, std::string_view keyword) {
  ViewState& view = nav.view;
  const ViewFrame& frame = nav.frame;
  const int x = TruncToInt(TruncToInt(frame.BufferWidth * 0.5) - view.xOrg);
  const int y = TruncToInt(TruncToInt(frame.BufferHeight * 0.5) - view.yOrg);
  const KpzPoint centre = OffsetToKpz(view, frame, x, y);
  view.Rot = rot;
  const ViewPoint turned = KpzToView(view, frame, centre);
  const int du = TruncToInt(turned.x - view.xOrg);
  const int dv = TruncToInt(turned.y - view.yOrg);
  view.xOrg = frame.BufferWidth * 0.5 - du;
  view.yOrg = frame.BufferHeight * 0.5 - dv;
  listener.ResetRasterCache();
  Journal(listener, keyword);
  Refresh(nav, listener);
}

// Cuts f down to the factor that takes the extent to the largest one. The product must not
// round to a hair above it, where the zoom would refuse it.
double HoldExtent(double f, double extent) {
  if (!(f * extent > kMaxDrawExtent)) return f;
  f = kMaxDrawExtent / extent;
  while (f * extent > kMaxDrawExtent) f = std::nextafter(f, 0.0);
  return f;
}

}  // namespace

void Refresh(Navigation& nav, ViewListener& listener) {
  listener.InvalidateView();
  if (!listener.JournalOpen()) return;
  nav.view.ViewScale = FittedScale(nav.view, nav.frame);
  listener.JournalViewState(nav.view);
}

namespace {

// Multiplies the extents by f when both stay within the limits, moving the origin by
// moveOrigin(origin, centre) on each axis; journalled and refreshed either way.
template <typename MoveOrigin>
bool ZoomBy(Navigation& nav, ViewListener& listener, double f, double cx, double cy,
            MoveOrigin moveOrigin) {
  ViewState& view = nav.view;
  view.ViewScale = 0;
  listener.ResetZoom();
  // NaN or a negative factor fails the range test as well.
  const bool zoomed = ExtentInRange(f * view.DrawExtentX) && ExtentInRange(f * view.DrawExtentY);
  if (zoomed) {
    view.xOrg = moveOrigin(view.xOrg, cx);
    view.yOrg = moveOrigin(view.yOrg, cy);
    view.DrawExtentX *= f;
    view.DrawExtentY *= f;
  }
  Journal(listener, "SCALE");
  Refresh(nav, listener);
  return zoomed;
}

}  // namespace

bool ScaleIt(Navigation& nav, ViewListener& listener, double f) {
  return ZoomBy(
      nav, listener, f, nav.frame.ViewWidth * 0.5, nav.frame.ViewHeight * 0.5,
      [f](double origin, double centre) { return centre - f * std::fabs(centre - origin); });
}

bool ZoomAbout(Navigation& nav, ViewListener& listener, double f, ViewPoint pixel) {
  return ZoomBy(nav, listener, f, pixel.x, pixel.y,
                [f](double origin, double fixed) { return fixed - f * (fixed - origin); });
}

bool Scale(Navigation& nav, ViewListener& listener, double /*requested*/) {
  return ScaleIt(nav, listener, nav.frame.ScaleFactor);
}

bool ScaleDown(Navigation& nav, ViewListener& listener, double /*requested*/) {
  return ScaleIt(nav, listener, 1 / nav.frame.ScaleFactor);
}

void Fit(Navigation& nav, ViewListener& listener) {
  SetExtentsToView(nav.view, nav.frame.ViewWidth, nav.frame.ViewHeight);
  nav.view.xOrg = 0;
  nav.view.yOrg = 0;
  nav.view.ViewScale = 0;
  listener.ResetZoom();
  Journal(listener, "FIT");
  Refresh(nav, listener);
}

bool PanLeft(Navigation& nav, ViewListener& listener) {
  const double n = nav.view.xOrg + nav.frame.ViewWidth / 2;
  return Pan(nav, listener, nav.view.xOrg, n, n < nav.frame.ViewWidth, "PANLEFT");
}

bool PanRight(Navigation& nav, ViewListener& listener) {
  const double n = nav.view.xOrg - nav.frame.ViewWidth / 2;
  // Negated as a double: a put scale of any sign can hold the width at INT_MIN.
  return Pan(nav, listener, nav.view.xOrg, n, n > -static_cast<double>(ScreenWidth(nav)),
             "PANRIGHT");
}

bool PanUp(Navigation& nav, ViewListener& listener) {
  const double n = nav.view.yOrg + nav.frame.ViewHeight / 2;
  return Pan(nav, listener, nav.view.yOrg, n, n < nav.frame.ViewHeight, "PANUP");
}

bool PanDown(Navigation& nav, ViewListener& listener) {
  const double n = nav.view.yOrg - nav.frame.ViewHeight / 2;
  return Pan(nav, listener, nav.view.yOrg, n, n > -static_cast<double>(ScreenHeight(nav)),
             "PANDOWN");
}

int RotatedLeft(int rot) {
  switch (rot) {
    case 90:
      return 0;
    case 180:
      return 90;
    case 270:
      return 180;
    default:  // 0, and a value that is no quarter turn is taken as 0
      return 270;
  }
}

int RotatedRight(int rot) {
  switch (rot) {
    case 90:
      return 180;
    case 180:
      return 270;
    case 270:
      return 0;
    default:
      return 90;
  }
}

void RotateLeft(Navigation& nav, ViewListener& listener) {
  Rotate(nav, listener, RotatedLeft(nav.view.Rot), "ROTATELEFT");
}

void RotateRight(Navigation& nav, ViewListener& listener) {
  Rotate(nav, listener, RotatedRight(nav.view.Rot), "ROTATERIGHT");
}

void CentreOn(ViewState& view, const ViewFrame& frame, int px, int py) {
  view.xOrg -= px - static_cast<double>(TruncToInt(frame.ViewWidth * 0.5));
  view.yOrg -= py - static_cast<double>(TruncToInt(frame.ViewHeight * 0.5));
}

bool ZoomInAt(Navigation& nav, ViewListener& listener, int px, int py) {
  CentreOn(nav.view, nav.frame, px, py);
  return ScaleIt(nav, listener, nav.frame.ScaleFactor);
}

bool ZoomOutAt(Navigation& nav, ViewListener& listener, int px, int py) {
  CentreOn(nav.view, nav.frame, px, py);
  return ScaleIt(nav, listener, 1 / nav.frame.ScaleFactor);
}

void WindowCenter(Navigation& nav, ViewListener& listener, int px, int py) {
  CentreOn(nav.view, nav.frame, px, py);
  Journal(listener, "WINDOWCENTER");
  Refresh(nav, listener);
}

bool ZoomToRect(Navigation& nav, ViewListener& listener, ViewPoint anchor, ViewPoint corner) {
  if (anchor.x == corner.x || anchor.y == corner.y) return false;
  // 64-bit: the corners are window pixels, but their difference must not overflow.
  const long long dx = static_cast<long long>(corner.x) - anchor.x;
  const long long dy = static_cast<long long>(corner.y) - anchor.y;
  const double w = static_cast<double>(dx < 0 ? -dx : dx);
  const double mx = anchor.x + static_cast<double>(dx / 2);
  const double my = anchor.y + static_cast<double>(dy / 2);
  ViewState& view = nav.view;
  view.xOrg -= mx - TruncToInt(nav.frame.ViewWidth * 0.5);
  view.yOrg -= my - TruncToInt(nav.frame.ViewHeight * 0.5);
  view.ViewScale = 0;
  listener.ResetZoom();
  double f = nav.frame.ViewWidth / w;
  f = HoldExtent(f, view.DrawExtentX);
  f = HoldExtent(f, view.DrawExtentY);
  ScaleIt(nav, listener, f);
  return true;
}

}  // namespace quillon
