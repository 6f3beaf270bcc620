#pragma once
// Owners of the GDI and USER handles the viewer creates.

#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <utility>

namespace quillon::mirandel {

template <typename Handle, BOOL(WINAPI* Free)(Handle)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return h_; }
  void reset(Handle h = nullptr) {
    if (h_ != nullptr) Free(h_);
    h_ = h;
  }

 private:
  Handle h_ = nullptr;
};

inline BOOL WINAPI DeleteGdiObject(HGDIOBJ object) { return ::DeleteObject(object); }

using UniqueGdiObject = UniqueHandle<HGDIOBJ, DeleteGdiObject>;
using UniqueIcon = UniqueHandle<HICON, ::DestroyIcon>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ::ImageList_Destroy>;
using UniqueAccelerators = UniqueHandle<HACCEL, ::DestroyAcceleratorTable>;

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
