#pragma once
// Owners for the COM and OLE values the control holds: interface pointers and BSTRs.

#include <oleauto.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <utility>

namespace quillon {

using Microsoft::WRL::ComPtr;

class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(BSTR s) : s_(s) {}
  explicit UniqueBstr(const std::wstring& text)
      : s_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~UniqueBstr() { reset(); }
  UniqueBstr(UniqueBstr&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
  UniqueBstr& operator=(UniqueBstr&& o) noexcept {
    if (this != &o) {
      reset();
      s_ = std::exchange(o.s_, nullptr);
    }
    return *this;
  }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;

  BSTR get() const { return s_; }
  BSTR* put() {
    reset();
    return &s_;
  }
  BSTR release() { return std::exchange(s_, nullptr); }
  void reset() {
    if (s_ != nullptr) ::SysFreeString(s_);
    s_ = nullptr;
  }
  std::wstring text() const { return s_ ? std::wstring(s_, ::SysStringLen(s_)) : std::wstring(); }

 private:
  BSTR s_ = nullptr;
};

// A VARIANT cleared exactly once.
class UniqueVariant {
 public:
  UniqueVariant() { ::VariantInit(&v_); }
  ~UniqueVariant() { ::VariantClear(&v_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  VARIANT* get() { return &v_; }
  VARIANT& operator*() { return v_; }

 private:
  VARIANT v_;
};

}  // namespace quillon
