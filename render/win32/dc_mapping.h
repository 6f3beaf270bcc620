#pragma once
// The logical-to-device mapping of a DC, read back once after the mapping calls and applied
// to points the way GDI applies it: single-precision factors, rounding to the nearest pixel.

#include "base/values.h"

struct HDC__;

namespace quillon {

class DcMapping {
 public:
  // False when the DC maps in a way not reproduced here (a world transform other than the
  // identity, a right-to-left layout).
  bool Read(HDC__* dc);
  // The whole device pixels GDI draws a geometric pen of `width` logical units with: the
  // distance the mapping puts between a point and one `width` further, each rounded.
  double PenPixels(double width) const;
  // False when the device point would not fit the line rasteriser.
  bool Map(DevicePoint logical, DevicePoint& device) const;

 private:
  float m11_ = 1, m22_ = 1, dx_ = 0, dy_ = 0;
};

}  // namespace quillon
