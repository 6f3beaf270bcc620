// QuillonCtl: IOleObject and IQuickActivate.

#include "control/win32/quillon_ctl.h"

namespace quillon {

namespace {

constexpr LONG kHimetricPerInch = 2540;

LONG PixelsToHimetric(int pixels, int dpi) {
  return MulDiv(pixels, kHimetricPerInch, dpi > 0 ? dpi : 96);
}

int ScreenDpi(int which) {
  WindowDc screen(nullptr);
  return ::GetDeviceCaps(screen.get(), which);
}

}  // namespace

void QuillonCtl::SetExtentFromPixels(int width, int height) {
  extent_.cx = PixelsToHimetric(width, ScreenDpi(LOGPIXELSX));
  extent_.cy = PixelsToHimetric(height, ScreenDpi(LOGPIXELSY));
}

STDMETHODIMP QuillonCtl::SetClientSite(IOleClientSite* site) {
  clientSite_ = site;
  controlSite_.Reset();
  if (site != nullptr) clientSite_.As(&controlSite_);
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetClientSite(IOleClientSite** site) {
  if (site == nullptr) return E_POINTER;
  *site = clientSite_.Get();
  if (*site != nullptr) (*site)->AddRef();
  return S_OK;
}

STDMETHODIMP QuillonCtl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP QuillonCtl::Close(DWORD saveOption) {
  InPlaceDeactivate();
  if (dirty_ && clientSite_ &&
      (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE)) {
    clientSite_->SaveObject();
  }
  if (oleAdvise_) oleAdvise_->SendOnClose();
  return S_OK;
}

STDMETHODIMP QuillonCtl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP QuillonCtl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP QuillonCtl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP QuillonCtl::GetClipboardData(DWORD, IDataObject** data) {
  if (data != nullptr) *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP QuillonCtl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT pos) {
  if (site != nullptr && !clientSite_) SetClientSite(site);
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE: {
      const HRESULT hr = InPlaceActivate(verb);
      if (SUCCEEDED(hr) && pos != nullptr && window_ != nullptr) SetObjectRects(pos, pos);
      return hr;
    }
    case OLEIVERB_HIDE:
      UIDeactivate();
      if (window_ != nullptr) ::ShowWindow(window_, SW_HIDE);
      return S_OK;
    default:
      return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
  }
}

STDMETHODIMP QuillonCtl::EnumVerbs(IEnumOLEVERB** verbs) {
  return ::OleRegEnumVerbs(CLSID_QuillonCtl, verbs);
}

STDMETHODIMP QuillonCtl::Update() { return S_OK; }
STDMETHODIMP QuillonCtl::IsUpToDate() { return S_OK; }

STDMETHODIMP QuillonCtl::GetUserClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = CLSID_QuillonCtl;
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetUserType(DWORD form, LPOLESTR* type) {
  return ::OleRegGetUserType(CLSID_QuillonCtl, form, type);
}

STDMETHODIMP QuillonCtl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size == nullptr) return E_POINTER;
  extent_ = *size;
  dirty_ = true;
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size == nullptr) return E_POINTER;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP QuillonCtl::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!oleAdvise_ && FAILED(::CreateOleAdviseHolder(&oleAdvise_))) return E_OUTOFMEMORY;
  return oleAdvise_->Advise(sink, connection);
}

STDMETHODIMP QuillonCtl::Unadvise(DWORD connection) {
  if (!oleAdvise_) return OLE_E_NOCONNECTION;
  return oleAdvise_->Unadvise(connection);
}

STDMETHODIMP QuillonCtl::EnumAdvise(IEnumSTATDATA** advise) {
  if (advise == nullptr) return E_POINTER;
  *advise = nullptr;
  if (!oleAdvise_) return E_FAIL;
  return oleAdvise_->EnumAdvise(advise);
}

STDMETHODIMP QuillonCtl::GetMiscStatus(DWORD, DWORD* status) {
  if (status == nullptr) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

STDMETHODIMP QuillonCtl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// ---- IQuickActivate

STDMETHODIMP QuillonCtl::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  if (container == nullptr || control == nullptr) return E_POINTER;
  if (container->cbSize < sizeof(QACONTAINER) - 2 * sizeof(void*)) return E_INVALIDARG;
  SetClientSite(container->pClientSite);
  if (container->pAdviseSink != nullptr) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
  const ULONG size = control->cbSize;
  *control = QACONTROL{};
  control->cbSize = size;
  control->dwMiscStatus = kMiscStatus;
  control->dwViewStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  return S_OK;
}

STDMETHODIMP QuillonCtl::SetContentExtent(LPSIZEL size) {
  return SetExtent(DVASPECT_CONTENT, size);
}

STDMETHODIMP QuillonCtl::GetContentExtent(LPSIZEL size) {
  return GetExtent(DVASPECT_CONTENT, size);
}

}  // namespace quillon
