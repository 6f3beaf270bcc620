#pragma once
// The platform's ActiveX container window class "AtlAxWin" of atl.dll, bound at run time: a
// child window of that class whose text is a class identifier creates, sites and activates
// the control in place, and keeps its extent on every resize.

#include <windows.h>

#include "base/win32/unique_handle.h"

namespace quillon::mirandel {

class AtlContainer {
 public:
  AtlContainer();
  AtlContainer(const AtlContainer&) = delete;
  AtlContainer& operator=(const AtlContainer&) = delete;

  // S_OK when the window class is registered; otherwise why it is not.
  HRESULT status() const { return status_; }
  static constexpr wchar_t kWindowClass[] = L"AtlAxWin";
  // The control's IUnknown (caller releases) of a window of the class.
  HRESULT GetControl(HWND container, IUnknown** control) const;

 private:
  using AxWinInit = BOOL(WINAPI*)();
  using AxGetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
  // The windows of the class live in the module: it stays loaded while any may exist, so it is
  // released only at the very end of the program.
  UniqueModule module_;
  AxGetControl getControl_ = nullptr;
  HRESULT status_ = E_FAIL;
};

}  // namespace quillon::mirandel
