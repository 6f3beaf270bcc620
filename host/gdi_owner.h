#pragma once
// A memory DC the viewer draws its glyphs in.

#include <windows.h>

namespace quillon::mirandel {

// A memory DC with one bitmap selected for the time of a drawing.
class MemoryCanvas {
 public:
  MemoryCanvas(HBITMAP bitmap) : dc_(::CreateCompatibleDC(nullptr)) {
    if (dc_ != nullptr) old_ = ::SelectObject(dc_, bitmap);
  }
  ~MemoryCanvas() {
    if (dc_ != nullptr) {
      ::SelectObject(dc_, old_);
      ::DeleteDC(dc_);
    }
  }
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace quillon::mirandel
