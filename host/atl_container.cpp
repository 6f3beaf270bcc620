#include "host/atl_container.h"

namespace quillon::mirandel {

AtlContainer::AtlContainer() {
  module_.reset(::LoadLibraryW(L"atl.dll"));
  if (!module_) {
    status_ = HRESULT_FROM_WIN32(::GetLastError());
    return;
  }
  auto init = reinterpret_cast<AxWinInit>(
      reinterpret_cast<void*>(::GetProcAddress(module_.get(), "AtlAxWinInit")));
  getControl_ = reinterpret_cast<AxGetControl>(
      reinterpret_cast<void*>(::GetProcAddress(module_.get(), "AtlAxGetControl")));
  if (init == nullptr || getControl_ == nullptr) {
    status_ = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    return;
  }
  status_ = init() ? S_OK : E_FAIL;
}

HRESULT AtlContainer::GetControl(HWND container, IUnknown** control) const {
  *control = nullptr;
  if (FAILED(status_)) return status_;
  return getControl_(container, control);
}

}  // namespace quillon::mirandel
