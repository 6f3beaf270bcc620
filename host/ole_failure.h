#pragma once
// The description of a failed automation call, as the user reads it in a message box.

#include <windows.h>
// After <windows.h>, which it needs.
#include <oaidl.h>

#include <string>

namespace quillon::mirandel {

struct ControlFailure {
  HRESULT status = S_OK;
  std::wstring description;
  bool failed() const { return FAILED(status); }
};

// The object's error information when it supports it for the interface, else the system's
// text for the status, else "OLE error XXXXXXXX".
ControlFailure DescribeFailure(HRESULT status, IUnknown* object, REFIID iid);
// From the exception block of IDispatch::Invoke (DISP_E_EXCEPTION).
ControlFailure DescribeException(EXCEPINFO& exception);
// The system's text for a status, or "OLE error XXXXXXXX" when it has none.
std::wstring SystemMessage(HRESULT status);

}  // namespace quillon::mirandel
