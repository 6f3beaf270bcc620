#pragma once
// The viewer's side of one QuillonCtl control: the container window that hosts it and the two
// ways the viewer calls it, a dispatch property put for the file name and the dual interface
// IQuillonCtl for the commands.

#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "control/quillon_h.h"
#include "host/atl_container.h"
#include "host/ole_failure.h"

namespace quillon::mirandel {

class QuillonControlSite {
 public:
  QuillonControlSite() = default;
  QuillonControlSite(const QuillonControlSite&) = delete;
  QuillonControlSite& operator=(const QuillonControlSite&) = delete;

  // Creates the hidden container child window of parent, which creates the control. A control
  // that cannot be created leaves the window empty; every later call then reports why.
  void Create(HWND parent, const AtlContainer& container);
  HWND window() const { return window_; }
  // Releases the control before its container window goes.
  void Release();

  ControlFailure PutDataFileName(const std::wstring& path);
  ControlFailure Plot(long plotView);
  ControlFailure Scale(double factor);
  ControlFailure ScaleDown(double factor);
  ControlFailure Fit();

 private:
  // The dual interface, asked for once on first use.
  ControlFailure Dual(IQuillonCtl** out);

  HWND window_ = nullptr;
  HRESULT createStatus_ = E_FAIL;
  Microsoft::WRL::ComPtr<IUnknown> control_;
  Microsoft::WRL::ComPtr<IQuillonCtl> dual_;
};

}  // namespace quillon::mirandel
