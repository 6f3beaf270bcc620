#pragma once
// The off-screen image of the view: a bitmap compatible with the target, selected into a
// memory DC, the document drawn into it and copied to the window by every paint.

#include <windows.h>

#include "base/win32/unique_handle.h"

namespace quillon {

class BackBuffer {
 public:
  BackBuffer() = default;
  ~BackBuffer() { Release(); }
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;

  // A width x height bitmap compatible with `target`; false when GDI refuses it.
  bool Create(HDC target, int width, int height);
  void Release();
  bool exists() const { return dc_.get() != nullptr; }
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }

  // White over (0, 0)-(width + 1, height + 1) with the stock null pen and white brush.
  void Clear(int width, int height);
  // Copies width x height pixels to `target` at (x, y).
  void CopyTo(HDC target, int x, int y, int width, int height) const;

 private:
  UniqueDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ previous_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace quillon
