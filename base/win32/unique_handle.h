#pragma once
// One owner for every kind of Win32 handle: closed exactly once, by the function its traits name.

#include <windows.h>

#include <utility>

namespace quillon {

// Traits give the handle type (`Handle`), the value that owns nothing (`Invalid()`) and the
// function that gives a handle back to the system (`Close(h)`).
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != Traits::Invalid(); }
  // Gives the handle up without closing it.
  Handle release() noexcept { return std::exchange(h_, Traits::Invalid()); }
  void reset(Handle h = Traits::Invalid()) noexcept {
    const Handle old = std::exchange(h_, h);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  // For a call that writes a new handle through a pointer: the one held is closed first.
  Handle* put() noexcept {
    reset();
    return &h_;
  }

 private:
  Handle h_ = Traits::Invalid();
};

// Most handles: null owns nothing, `Free` closes.
template <typename H, auto Free>
struct NullHandleTraits {
  using Handle = H;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { Free(h); }
};

// CreateFile answers INVALID_HANDLE_VALUE, not null, when it fails.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

template <typename H>
using UniqueGdiHandle = UniqueHandle<NullHandleTraits<H, ::DeleteObject>>;
using UniqueGdiObject = UniqueGdiHandle<HGDIOBJ>;
using UniquePen = UniqueGdiHandle<HPEN>;
using UniqueBrush = UniqueGdiHandle<HBRUSH>;
using UniqueBitmap = UniqueGdiHandle<HBITMAP>;
using UniqueFont = UniqueGdiHandle<HFONT>;
using UniqueDc = UniqueHandle<NullHandleTraits<HDC, ::DeleteDC>>;
using UniqueEnhMetaFile = UniqueHandle<NullHandleTraits<HENHMETAFILE, ::DeleteEnhMetaFile>>;
using UniqueMetaFile = UniqueHandle<NullHandleTraits<HMETAFILE, ::DeleteMetaFile>>;
using UniqueGlobal = UniqueHandle<NullHandleTraits<HGLOBAL, ::GlobalFree>>;
using UniqueIcon = UniqueHandle<NullHandleTraits<HICON, ::DestroyIcon>>;
using UniqueAccelerators = UniqueHandle<NullHandleTraits<HACCEL, ::DestroyAcceleratorTable>>;
using UniqueKey = UniqueHandle<NullHandleTraits<HKEY, ::RegCloseKey>>;
using UniqueModule = UniqueHandle<NullHandleTraits<HMODULE, ::FreeLibrary>>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
// File mappings and the other kernel objects whose failure value is null.
using UniqueKernelObject = UniqueHandle<NullHandleTraits<HANDLE, ::CloseHandle>>;
using UniqueMapView = UniqueHandle<NullHandleTraits<const void*, ::UnmapViewOfFile>>;
using UniqueHeap = UniqueHandle<NullHandleTraits<HANDLE, ::HeapDestroy>>;

// A DC from GetDC: ReleaseDC needs its window too, so it has a type of its own.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace quillon
