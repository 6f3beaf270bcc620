#pragma once
// The off-screen image of the view: a 32-bit DIB section (or, on a display of fewer colours,
// a bitmap compatible with the target) selected into a memory DC, the document drawn into it
// and copied to the window by every paint.

#include <windows.h>

#include "base/win32/memory_dc.h"

namespace quillon {

class BackBuffer {
 public:
  // A width x height bitmap for `target`; false when GDI refuses it.
  bool Create(HDC target, int width, int height);
  void Release() { buffer_ = MemoryDc(); }
  bool exists() const { return buffer_.valid(); }
  HDC dc() const { return buffer_.dc(); }

  // White over (0, 0)-(width + 1, height + 1) with the stock null pen and white brush.
  void Clear(int width, int height);
  // Copies width x height pixels to `target` at (x, y).
  void CopyTo(HDC target, int x, int y, int width, int height) const;
  // The image moved by (dx, dy) within a width x height area, as a pan drag shows it; the strips
  // it leaves uncovered show white paper.
  void CopyShifted(HDC target, int dx, int dy, int width, int height) const;

 private:
  MemoryDc buffer_;
};

}  // namespace quillon
