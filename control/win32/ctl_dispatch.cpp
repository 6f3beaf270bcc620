// QuillonCtl: IDispatch through the embedded type library, and every IQuillonCtl entry.

#include <exception>

#include "control/win32/quillon_ctl.h"

namespace quillon {

namespace {

// No C++ exception may leave a COM method.
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

}  // namespace

// ---- IDispatch

STDMETHODIMP QuillonCtl::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ITypeInfo* type = TypeInfo(IID_IQuillonCtl);
  if (type == nullptr) return E_FAIL;
  type->AddRef();
  *info = type;
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  ITypeInfo* type = TypeInfo(IID_IQuillonCtl);
  if (type == nullptr) return E_FAIL;
  return type->GetIDsOfNames(names, count, ids);
}

STDMETHODIMP QuillonCtl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  ITypeInfo* type = TypeInfo(IID_IQuillonCtl);
  if (type == nullptr) return E_FAIL;
  return type->Invoke(static_cast<IQuillonCtl*>(this), id, flags, params, result, exception,
                      argError);
}

// ---- IQuillonCtl

STDMETHODIMP QuillonCtl::Plot(LONG) {
  if (!loaded_) return NotLoaded();
  // The print pipeline is not built yet: nothing is printed, and the caller is told so.
  return NotBuilt(L"Printing is not available in this version of the control.");
}

STDMETHODIMP QuillonCtl::get_DataFileName(BSTR* value) {
  if (value == nullptr) return E_POINTER;
  *value = ::SysAllocStringLen(dataFileName_.data(), static_cast<UINT>(dataFileName_.size()));
  return *value != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP QuillonCtl::put_DataFileName(BSTR value) {
  return Guarded([&] {
    if (loaded_) SaveSettings();
    dataFileName_ = value != nullptr ? std::wstring(value, ::SysStringLen(value)) : std::wstring();
    propertySetFlags_ |= kDataFileNamePut;
    loaded_ = false;
    CloseDocument();
    // A new name may show its load message again.
    context_->ClearMessageShown();
    ResetForNewDocument(nav_.view);
    dirty_ = true;
    Refresh(nav_, *this);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::Scale(double scaleFactor) {
  if (!loaded_) return NotLoaded();
  quillon::Scale(nav_, *this, scaleFactor);
  return S_OK;
}

STDMETHODIMP QuillonCtl::ScaleDown(double scaleFactor) {
  if (!loaded_) return NotLoaded();
  quillon::ScaleDown(nav_, *this, scaleFactor);
  return S_OK;
}

STDMETHODIMP QuillonCtl::Fit() {
  if (!loaded_) return NotLoaded();
  quillon::Fit(nav_, *this);
  return S_OK;
}

STDMETHODIMP QuillonCtl::PanLeft() {
  if (!loaded_) return NotLoaded();
  quillon::PanLeft(nav_, *this);
  return S_OK;
}

STDMETHODIMP QuillonCtl::PanRight() {
  if (!loaded_) return NotLoaded();
  quillon::PanRight(nav_, *this);
  return S_OK;
}

STDMETHODIMP QuillonCtl::PanUp() {
  if (!loaded_) return NotLoaded();
  quillon::PanUp(nav_, *this);
  return S_OK;
}

STDMETHODIMP QuillonCtl::PanDown() {
  if (!loaded_) return NotLoaded();
  quillon::PanDown(nav_, *this);
  return S_OK;
}

STDMETHODIMP QuillonCtl::RotateLeft() {
  if (!loaded_) return NotLoaded();
  quillon::RotateLeft(nav_, *this);
  return S_OK;
}

STDMETHODIMP QuillonCtl::RotateRight() {
  if (!loaded_) return NotLoaded();
  quillon::RotateRight(nav_, *this);
  return S_OK;
}

STDMETHODIMP QuillonCtl::get_ViewScale(double* value) {
  if (value == nullptr) return E_POINTER;
  *value = nav_.view.ViewScale;
  return S_OK;
}

STDMETHODIMP QuillonCtl::put_ViewScale(double value) {
  nav_.view.ViewScale = value;
  propertySetFlags_ |= kViewScalePut;
  dirty_ = true;
  return S_OK;
}

STDMETHODIMP QuillonCtl::get_xOrg(double* value) {
  if (value == nullptr) return E_POINTER;
  *value = nav_.view.xOrg;
  return S_OK;
}

STDMETHODIMP QuillonCtl::put_xOrg(double value) {
  nav_.view.xOrg = value;
  propertySetFlags_ |= kXOrgPut;
  dirty_ = true;
  return S_OK;
}

STDMETHODIMP QuillonCtl::get_yOrg(double* value) {
  if (value == nullptr) return E_POINTER;
  *value = nav_.view.yOrg;
  return S_OK;
}

STDMETHODIMP QuillonCtl::put_yOrg(double value) {
  nav_.view.yOrg = value;
  propertySetFlags_ |= kYOrgPut;
  dirty_ = true;
  return S_OK;
}

STDMETHODIMP QuillonCtl::get_Rot(LONG* value) {
  if (value == nullptr) return E_POINTER;
  *value = nav_.view.Rot;
  return S_OK;
}

STDMETHODIMP QuillonCtl::put_Rot(LONG value) {
  if (!PutRot(nav_.view, static_cast<int>(value))) {
    return Fail(L"Rot must be 0, 90, 180 or 270.");
  }
  propertySetFlags_ |= kRotPut;
  ResetRasterCache();
  dirty_ = true;
  return S_OK;
}

STDMETHODIMP QuillonCtl::ReDraw() {
  InvalidateView();
  return S_OK;
}

STDMETHODIMP QuillonCtl::ScaleIt(double scaleFactor) {
  if (!loaded_) return NotLoaded();
  quillon::ScaleIt(nav_, *this, scaleFactor);
  return S_OK;
}

STDMETHODIMP QuillonCtl::Copy() {
  if (!loaded_) return NotLoaded();
  // Clipboard copy is not built yet: the clipboard is left as it is.
  return NotBuilt(L"Copying to the clipboard is not available in this version of the control.");
}

STDMETHODIMP QuillonCtl::get_PlotSilent(short* value) {
  if (value == nullptr) return E_POINTER;
  *value = plotSilent_;
  return S_OK;
}

STDMETHODIMP QuillonCtl::put_PlotSilent(short value) {
  plotSilent_ = value;
  return S_OK;
}

// Printer and form selection is not built yet: loaded or not, no printer is named or changed.
STDMETHODIMP QuillonCtl::get_PrinterName(BSTR* value) {
  if (value == nullptr) return E_POINTER;
  *value = nullptr;
  if (!loaded_) return NotLoaded();
  return NotBuilt(L"Printer selection is not available in this version of the control.");
}

STDMETHODIMP QuillonCtl::put_PrinterName(BSTR) {
  if (!loaded_) return NotLoaded();
  return NotBuilt(L"Printer selection is not available in this version of the control.");
}

STDMETHODIMP QuillonCtl::get_FormName(BSTR* value) {
  if (value == nullptr) return E_POINTER;
  *value = nullptr;
  if (!loaded_) return NotLoaded();
  return NotBuilt(L"Form selection is not available in this version of the control.");
}

STDMETHODIMP QuillonCtl::put_FormName(BSTR) {
  if (!loaded_) return NotLoaded();
  return NotBuilt(L"Form selection is not available in this version of the control.");
}

STDMETHODIMP QuillonCtl::get_Portrait_Landscape(short* value) {
  if (value == nullptr) return E_POINTER;
  if (!loaded_) return NotLoaded();
  return NotBuilt(L"Printer orientation is not available in this version of the control.");
}

STDMETHODIMP QuillonCtl::put_Portrait_Landscape(short) {
  if (!loaded_) return NotLoaded();
  return NotBuilt(L"Printer orientation is not available in this version of the control.");
}

STDMETHODIMP QuillonCtl::get_PrintScaleOptions(LONG* value) {
  if (value == nullptr) return E_POINTER;
  const auto settings = context_->printSettings();
  if (!loaded_ || !settings) return NotLoaded();
  *value = static_cast<LONG>(settings->scaleOption);
  return S_OK;
}

STDMETHODIMP QuillonCtl::put_PrintScaleOptions(LONG value) {
  auto settings = context_->printSettings();
  if (!loaded_ || !settings) return NotLoaded();
  settings->scaleOption = static_cast<ScaleOption>(value);
  context_->SetPrintSettings(*settings);
  savedScaleOption_ = static_cast<int>(value);
  return S_OK;
}

STDMETHODIMP QuillonCtl::PlotWithForm(double, double) {
  if (!loaded_) return NotLoaded();
  return NotBuilt(L"Printing is not available in this version of the control.");
}

STDMETHODIMP QuillonCtl::PlotToForm() {
  if (!loaded_) return NotLoaded();
  return NotBuilt(L"Plot To Form is not available in this version of the control.");
}

STDMETHODIMP QuillonCtl::get_PrintScalePercentage(double* value) {
  if (value == nullptr) return E_POINTER;
  const auto settings = context_->printSettings();
  if (!loaded_ || !settings) return NotLoaded();
  *value = settings->scalePercent;
  return S_OK;
}

STDMETHODIMP QuillonCtl::put_PrintScalePercentage(double value) {
  auto settings = context_->printSettings();
  if (!loaded_ || !settings) return NotLoaded();
  settings->scalePercent = value;
  context_->SetPrintSettings(*settings);
  savedScalePercentage_ = value;
  return S_OK;
}

STDMETHODIMP QuillonCtl::get_KpzXSize(double* value) {
  if (value == nullptr) return E_POINTER;
  const auto page = context_->pageMeasure();
  if (!loaded_ || !page) return NotLoaded();
  *value = page->width;
  return S_OK;
}

STDMETHODIMP QuillonCtl::put_KpzXSize(double) { return S_OK; }

STDMETHODIMP QuillonCtl::get_KpzYSize(double* value) {
  if (value == nullptr) return E_POINTER;
  const auto page = context_->pageMeasure();
  if (!loaded_ || !page) return NotLoaded();
  *value = page->height;
  return S_OK;
}

STDMETHODIMP QuillonCtl::put_KpzYSize(double) { return S_OK; }

STDMETHODIMP QuillonCtl::get_KpzResolution(double* value) {
  if (value == nullptr) return E_POINTER;
  const auto page = context_->pageMeasure();
  if (!loaded_ || !page) return NotLoaded();
  *value = page->resolution;
  return S_OK;
}

STDMETHODIMP QuillonCtl::put_KpzResolution(double) { return S_OK; }

}  // namespace quillon
