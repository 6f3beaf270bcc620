#pragma once
// Logical to device coordinates as a DC maps them under MM_TEXT and MM_ISOTROPIC: a viewport
// origin, and in the isotropic mode window and viewport extents of which the viewport is
// shrunk along one axis, rounded to whole units, so that both axes scale alike.

#include <cmath>

#include "render/device.h"

namespace quillon {

class LogicalMapping {
 public:
  int mode() const { return mode_; }
  int SetMode(int mode) {
    const int previous = mode_;
    mode_ = mode == gdi::kMapIsotropic ? mode : gdi::kMapText;
    if (mode_ == gdi::kMapText) wx_ = wy_ = vx_ = vy_ = 1;
    return previous;
  }
  bool SetWindowExt(int x, int y) {
    if (x == 0 || y == 0) return false;
    if (mode_ != gdi::kMapIsotropic) return true;  // ignored, as GDI does
    wx_ = x, wy_ = y;
    FixIsotropic();
    return true;
  }
  bool SetViewportExt(int x, int y) {
    if (x == 0 || y == 0) return false;
    if (mode_ != gdi::kMapIsotropic) return true;
    vx_ = x, vy_ = y;
    FixIsotropic();
    return true;
  }
  void SetViewportOrg(int x, int y) { ox_ = x, oy_ = y; }

  double scaleX() const { return vx_ / wx_; }
  double scaleY() const { return vy_ / wy_; }
  double X(double x) const { return ox_ + x * vx_ / wx_; }
  double Y(double y) const { return oy_ + y * vy_ / wy_; }
  double BackX(double x) const { return (x - ox_) * wx_ / vx_; }
  double BackY(double y) const { return (y - oy_) * wy_ / vy_; }
  // Device length of a logical length (pen widths, dash lengths).
  double Length(double l) const { return l * std::fabs(scaleX()); }

 private:
  void FixIsotropic() {
    const double xs = std::fabs(vx_ / wx_), ys = std::fabs(vy_ / wy_);
    if (xs > ys) {
      const double v = std::floor(vx_ * ys / xs + 0.5);
      vx_ = v != 0 ? v : (vx_ >= 0 ? 1 : -1);
    } else if (ys > xs) {
      const double v = std::floor(vy_ * xs / ys + 0.5);
      vy_ = v != 0 ? v : (vy_ >= 0 ? 1 : -1);
    }
  }

  int mode_ = gdi::kMapText;
  double wx_ = 1, wy_ = 1, vx_ = 1, vy_ = 1;
  double ox_ = 0, oy_ = 0;
};

}  // namespace quillon
