#include "host/atl_container.h"

namespace quillon::mirandel {

AtlContainer::AtlContainer() {
  module_ = ::LoadLibraryW(L"atl.dll");
  if (module_ == nullptr) {
    status_ = HRESULT_FROM_WIN32(::GetLastError());
    return;
  }
  auto init = reinterpret_cast<AxWinInit>(
      reinterpret_cast<void*>(::GetProcAddress(module_, "AtlAxWinInit")));
  getControl_ = reinterpret_cast<AxGetControl>(
      reinterpret_cast<void*>(::GetProcAddress(module_, "AtlAxGetControl")));
  if (init == nullptr || getControl_ == nullptr) {
    status_ = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    return;
  }
  status_ = init() ? S_OK : E_FAIL;
}

AtlContainer::~AtlContainer() {
  // The windows of the class live in the module: it stays loaded while any may exist, so it is
  // released only at the very end of the program.
  if (module_ != nullptr) ::FreeLibrary(module_);
}

HRESULT AtlContainer::GetControl(HWND container, IUnknown** control) const {
  *control = nullptr;
  if (FAILED(status_)) return status_;
  return getControl_(container, control);
}

}  // namespace quillon::mirandel
