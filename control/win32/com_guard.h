#pragma once
// No C++ exception may leave a COM method: its body runs inside Guarded, which answers an
// exception with the HRESULT that says what happened.

#include <windows.h>

#include <new>

namespace quillon {

template <typename F>
HRESULT Guarded(F&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace quillon
