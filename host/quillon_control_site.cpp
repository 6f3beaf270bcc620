#include "host/quillon_control_site.h"

#include <oleauto.h>

namespace quillon::mirandel {
namespace {

constexpr DISPID kDataFileNameId = 2;

}  // namespace

void QuillonControlSite::Create(HWND parent, const AtlContainer& container) {
  createStatus_ = container.status();
  if (FAILED(createStatus_)) return;
  wchar_t clsid[40] = {};
  ::StringFromGUID2(CLSID_QuillonCtl, clsid, 40);
  // Hidden until a file is opened; the container creates the control all the same.
  window_ = ::CreateWindowExW(0, AtlContainer::kWindowClass, clsid,
                              WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) {
    createStatus_ = HRESULT_FROM_WIN32(::GetLastError());
    if (SUCCEEDED(createStatus_)) createStatus_ = E_FAIL;
    return;
  }
  // The container makes its window even when the class is unknown: only the control says.
  createStatus_ = container.GetControl(window_, &control_);
  if (SUCCEEDED(createStatus_) && !control_) createStatus_ = REGDB_E_CLASSNOTREG;
}

void QuillonControlSite::Release() {
  dual_.Reset();
  control_.Reset();
}

ControlFailure QuillonControlSite::PutDataFileName(const std::wstring& path) {
  if (!control_) return {createStatus_, SystemMessage(createStatus_)};
  Microsoft::WRL::ComPtr<IDispatch> dispatch;
  HRESULT status = control_.As(&dispatch);
  if (FAILED(status)) return DescribeFailure(status, nullptr, IID_IDispatch);

  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = ::SysAllocStringLen(path.data(), static_cast<UINT>(path.size()));
  if (value.bstrVal == nullptr) return {E_OUTOFMEMORY, SystemMessage(E_OUTOFMEMORY)};
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  EXCEPINFO exception{};
  UINT badArgument = 0;
  status = dispatch->Invoke(kDataFileNameId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                            &params, nullptr, &exception, &badArgument);
  // The callee copied the string; ours is freed here.
  ::VariantClear(&value);
  if (status == DISP_E_EXCEPTION) return DescribeException(exception);
  return DescribeFailure(status, dispatch.Get(), IID_IDispatch);
}

ControlFailure QuillonControlSite::Dual(IQuillonCtl** out) {
  *out = nullptr;
  if (!dual_) {
    if (!control_) return {createStatus_, SystemMessage(createStatus_)};
    const HRESULT status = control_.As(&dual_);
    if (FAILED(status)) return DescribeFailure(status, nullptr, IID_IQuillonCtl);
  }
  *out = dual_.Get();
  return {};
}

ControlFailure QuillonControlSite::Plot(long plotView) {
  IQuillonCtl* dual = nullptr;
  if (ControlFailure failure = Dual(&dual); failure.failed()) return failure;
  return DescribeFailure(dual->Plot(plotView), dual, IID_IQuillonCtl);
}

ControlFailure QuillonControlSite::Scale(double factor) {
  IQuillonCtl* dual = nullptr;
  if (ControlFailure failure = Dual(&dual); failure.failed()) return failure;
  return DescribeFailure(dual->Scale(factor), dual, IID_IQuillonCtl);
}

ControlFailure QuillonControlSite::ScaleDown(double factor) {
  IQuillonCtl* dual = nullptr;
  if (ControlFailure failure = Dual(&dual); failure.failed()) return failure;
  return DescribeFailure(dual->ScaleDown(factor), dual, IID_IQuillonCtl);
}

ControlFailure QuillonControlSite::Fit() {
  IQuillonCtl* dual = nullptr;
  if (ControlFailure failure = Dual(&dual); failure.failed()) return failure;
  return DescribeFailure(dual->Fit(), dual, IID_IQuillonCtl);
}

}  // namespace quillon::mirandel
