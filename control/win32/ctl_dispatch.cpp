// QuillonCtl: IDispatch through the embedded type library, and every IQuillonCtl entry.

#include "control/win32/com_guard.h"
#include "control/win32/quillon_ctl.h"

namespace quillon {

// ---- IDispatch

STDMETHODIMP QuillonCtl::GetTypeInfoCount(UINT* count) {
  return Guarded([&] {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  return Guarded([&] {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* type = TypeInfo(IID_IQuillonCtl);
    if (type == nullptr) return E_FAIL;
    type->AddRef();
    *info = type;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return Guarded([&] {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* type = TypeInfo(IID_IQuillonCtl);
    if (type == nullptr) return E_FAIL;
    return type->GetIDsOfNames(names, count, ids);
  });
}

STDMETHODIMP QuillonCtl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  return Guarded([&] {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* type = TypeInfo(IID_IQuillonCtl);
    if (type == nullptr) return E_FAIL;
    return type->Invoke(static_cast<IQuillonCtl*>(this), id, flags, params, result, exception,
                        argError);
  });
}

// ---- IQuillonCtl

STDMETHODIMP QuillonCtl::get_DataFileName(BSTR* value) {
  return Guarded([&] {
    if (value == nullptr) return E_POINTER;
    *value = ::SysAllocStringLen(dataFileName_.data(), static_cast<UINT>(dataFileName_.size()));
    return *value != nullptr ? S_OK : E_OUTOFMEMORY;
  });
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
    // The put's record carries the view-state block the refresh would write.
    InvalidateView();
    journal_.RecordDataFileName(AnsiDataFileName(), nav_.view, nav_.frame);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::Scale(double scaleFactor) {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    quillon::Scale(nav_, *this, scaleFactor);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::ScaleDown(double scaleFactor) {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    quillon::ScaleDown(nav_, *this, scaleFactor);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::Fit() {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    quillon::Fit(nav_, *this);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::PanLeft() {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    quillon::PanLeft(nav_, *this);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::PanRight() {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    quillon::PanRight(nav_, *this);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::PanUp() {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    quillon::PanUp(nav_, *this);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::PanDown() {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    quillon::PanDown(nav_, *this);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::RotateLeft() {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    quillon::RotateLeft(nav_, *this);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::RotateRight() {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    quillon::RotateRight(nav_, *this);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::get_ViewScale(double* value) {
  return Guarded([&] {
    if (value == nullptr) return E_POINTER;
    *value = nav_.view.ViewScale;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::put_ViewScale(double value) {
  return Guarded([&] {
    nav_.view.ViewScale = value;
    propertySetFlags_ |= kViewScalePut;
    dirty_ = true;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::get_xOrg(double* value) {
  return Guarded([&] {
    if (value == nullptr) return E_POINTER;
    *value = nav_.view.xOrg;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::put_xOrg(double value) {
  return Guarded([&] {
    nav_.view.xOrg = value;
    propertySetFlags_ |= kXOrgPut;
    dirty_ = true;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::get_yOrg(double* value) {
  return Guarded([&] {
    if (value == nullptr) return E_POINTER;
    *value = nav_.view.yOrg;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::put_yOrg(double value) {
  return Guarded([&] {
    nav_.view.yOrg = value;
    propertySetFlags_ |= kYOrgPut;
    dirty_ = true;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::get_Rot(LONG* value) {
  return Guarded([&] {
    if (value == nullptr) return E_POINTER;
    *value = nav_.view.Rot;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::put_Rot(LONG value) {
  return Guarded([&] {
    if (!PutRot(nav_.view, static_cast<int>(value))) {
      return Fail(L"Rot must be 0, 90, 180 or 270.");
    }
    propertySetFlags_ |= kRotPut;
    ResetRasterCache();
    dirty_ = true;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::ReDraw() {
  return Guarded([&] {
    InvalidateView();
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::ScaleIt(double scaleFactor) {
  return Guarded([&] {
    if (!loaded_) return NotLoaded();
    quillon::ScaleIt(nav_, *this, scaleFactor);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::get_PlotSilent(short* value) {
  return Guarded([&] {
    if (value == nullptr) return E_POINTER;
    *value = plotSilent_;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::put_PlotSilent(short value) {
  return Guarded([&] {
    plotSilent_ = value;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::get_PrintScaleOptions(LONG* value) {
  return Guarded([&] {
    if (value == nullptr) return E_POINTER;
    const auto settings = context_->printSettings();
    if (!loaded_ || !settings) return NotLoaded();
    *value = static_cast<LONG>(settings->scaleOption);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::put_PrintScaleOptions(LONG value) {
  return Guarded([&] {
    auto settings = context_->printSettings();
    if (!loaded_ || !settings) return NotLoaded();
    settings->scaleOption = static_cast<ScaleOption>(value);
    context_->SetPrintSettings(*settings);
    savedScaleOption_ = static_cast<int>(value);
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::PlotToForm() {
  return Guarded([&] {
    if (!loaded_ || context_->document() == nullptr) return NotLoaded();
    ArmPlotToForm();
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::get_PrintScalePercentage(double* value) {
  return Guarded([&] {
    if (value == nullptr) return E_POINTER;
    const auto settings = context_->printSettings();
    if (!loaded_ || !settings) return NotLoaded();
    *value = settings->scalePercent;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::put_PrintScalePercentage(double value) {
  return Guarded([&] {
    auto settings = context_->printSettings();
    if (!loaded_ || !settings) return NotLoaded();
    settings->scalePercent = value;
    context_->SetPrintSettings(*settings);
    savedScalePercentage_ = value;
    return S_OK;
  });
}

HRESULT QuillonCtl::GetPageValue(double* value, double (*read)(const PageMeasure& page)) {
  if (value == nullptr) return E_POINTER;
  const auto page = context_->pageMeasure();
  if (!loaded_ || !page) return NotLoaded();
  *value = read(*page);
  return S_OK;
}

namespace {

// The page as the last draw measured it (a sheet background may set its own resolution).
double XSize(const PageMeasure& page) { return page.width; }
double YSize(const PageMeasure& page) { return page.height; }
double Resolution(const PageMeasure& page) { return page.resolution; }
// The plot's size and resolution are the file's: a put changes nothing.
HRESULT Unchanged() { return S_OK; }

}  // namespace

STDMETHODIMP QuillonCtl::get_KpzXSize(double* value) {
  return Guarded([&] { return GetPageValue(value, XSize); });
}

STDMETHODIMP QuillonCtl::put_KpzXSize(double) { return Guarded(Unchanged); }

STDMETHODIMP QuillonCtl::get_KpzYSize(double* value) {
  return Guarded([&] { return GetPageValue(value, YSize); });
}

STDMETHODIMP QuillonCtl::put_KpzYSize(double) { return Guarded(Unchanged); }

STDMETHODIMP QuillonCtl::get_KpzResolution(double* value) {
  return Guarded([&] { return GetPageValue(value, Resolution); });
}

STDMETHODIMP QuillonCtl::put_KpzResolution(double) { return Guarded(Unchanged); }

}  // namespace quillon
