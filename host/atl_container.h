#pragma once
// The platform's ActiveX container window class "AtlAxWin" of atl.dll, bound at run time: a
// child window of that class whose text is a class identifier creates, sites and activates
// the control in place, and keeps its extent on every resize.

#include <windows.h>

namespace quillon::mirandel {

class AtlContainer {
 public:
  AtlContainer();
  ~AtlContainer();
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
  HMODULE module_ = nullptr;
  AxGetControl getControl_ = nullptr;
  HRESULT status_ = E_FAIL;
};

}  // namespace quillon::mirandel
