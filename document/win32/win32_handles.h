#pragma once
// Owners for the kernel handles of document loading: each is closed exactly once.

#include <windows.h>

#include <utility>

namespace quillon {

// A handle closed with CloseHandle; `Invalid` is the value that means none
// (INVALID_HANDLE_VALUE for files, NULL for mappings).
template <auto Invalid>
class UniqueKernelHandle {
 public:
  UniqueKernelHandle() = default;
  explicit UniqueKernelHandle(HANDLE h) : h_(h) {}
  ~UniqueKernelHandle() { reset(); }
  UniqueKernelHandle(UniqueKernelHandle&& o) noexcept : h_(std::exchange(o.h_, invalid())) {}
  UniqueKernelHandle& operator=(UniqueKernelHandle&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, invalid());
    }
    return *this;
  }
  UniqueKernelHandle(const UniqueKernelHandle&) = delete;
  UniqueKernelHandle& operator=(const UniqueKernelHandle&) = delete;

  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != invalid(); }
  void reset() {
    if (h_ != invalid()) ::CloseHandle(h_);
    h_ = invalid();
  }

 private:
  static HANDLE invalid() { return reinterpret_cast<HANDLE>(Invalid); }
  HANDLE h_ = invalid();
};

using UniqueFileHandle = UniqueKernelHandle<static_cast<LONG_PTR>(-1)>;
using UniqueMappingHandle = UniqueKernelHandle<static_cast<LONG_PTR>(0)>;

// A mapped view, unmapped on destruction.
class UniqueMapView {
 public:
  UniqueMapView() = default;
  explicit UniqueMapView(const void* base) : base_(base) {}
  ~UniqueMapView() {
    if (base_ != nullptr) ::UnmapViewOfFile(base_);
  }
  UniqueMapView(const UniqueMapView&) = delete;
  UniqueMapView& operator=(const UniqueMapView&) = delete;
  const void* get() const { return base_; }

 private:
  const void* base_ = nullptr;
};

// A loaded module, freed on destruction.
class UniqueModule {
 public:
  explicit UniqueModule(HMODULE m) : m_(m) {}
  ~UniqueModule() {
    if (m_ != nullptr) ::FreeLibrary(m_);
  }
  UniqueModule(const UniqueModule&) = delete;
  UniqueModule& operator=(const UniqueModule&) = delete;
  HMODULE get() const { return m_; }

 private:
  HMODULE m_;
};

}  // namespace quillon
