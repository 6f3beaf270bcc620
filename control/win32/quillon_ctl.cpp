// QuillonCtl: creation, destruction, IUnknown, type information, error info, object safety
// and the view listener that the navigation commands report to.

#include "control/win32/quillon_ctl.h"

#include "control/printer_settings.h"

#include <algorithm>
#include <new>
#include <string>

#include "control/control_settings.h"
#include "control/printer_settings.h"
#include "control/win32/com_guard.h"
#include "control/win32/module.h"
#include "control/win32/persist_history_iid.h"
#include "settings/control_settings_defaults.h"

namespace quillon {

namespace {

// Both options (safe for untrusted callers and for untrusted data), nothing else.
constexpr DWORD kSafetyMask = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

PlatformFlavour DetectFlavour() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL ok = ::GetVersionExA(&version);
#pragma GCC diagnostic pop
  return ok && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? PlatformFlavour::Windows9x
                                                                  : PlatformFlavour::WindowsNt;
}

}  // namespace

HRESULT QuillonCtl::Create(REFIID iid, void** object) {
  auto* control = new (std::nothrow) QuillonCtl();
  if (control == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = control->QueryInterface(iid, object);
  control->Release();
  return hr;
}

QuillonCtl::QuillonCtl()
    : platform_([this](const std::string& text) { ShowMessage(text); }),
      bluePen_(::CreatePen(PS_SOLID, 0, 0x00FF0000)),
      redPen_(::CreatePen(PS_SOLID, 0, 0x000000FF)) {
  // The raster preferences are read as the drawing context is made, then the ruler units;
  // the key is made last.
  preferences_.useOpaqueRaster = settings_.ReadDword("UseOpaqueRaster").value_or(0);
  preferences_.maxRasterZoomLevel = settings_.ReadDword("MaxRasterZoomLevel").value_or(0);
  context_ = std::make_unique<DrawContext>(platform_, preferences_.useOpaqueRaster,
                                           preferences_.maxRasterZoomLevel);
  context_->SetPlatformFlavour(DetectFlavour());
  LoadRulerUnits(settings_, rulerUnits_);
  settings_.EnsureKey();
  mouse_.emplace(nav_, static_cast<ViewListener&>(*this));
  // Last: a constructor that throws leaves no lock behind (the destructor would not run).
  LockModule();
}

QuillonCtl::~QuillonCtl() {
  DestroyControlWindow();
  bluePen_.reset();
  redPen_.reset();
  // Release() ends here, and a destructor must not throw: the settings are kept if they can be.
  Guarded([&] {
    SaveSettings();
    SaveRulerUnits(settings_, rulerUnits_);
    return S_OK;
  });
  journal_.Close();
  CloseDocument();
  backBuffer_.Release();
  UnlockModule();
}

STDMETHODIMP QuillonCtl::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  void* found = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IQuillonCtl) {
    found = static_cast<IQuillonCtl*>(this);
  } else if (iid == IID_IPersist || iid == IID_IPersistStreamInit) {
    found = static_cast<IPersistStreamInit*>(this);
  } else if (iid == IID_IPersistStorage) {
    found = static_cast<IPersistStorage*>(this);
  } else if (iid == IID_IPersistPropertyBag) {
    found = static_cast<IPersistPropertyBag*>(this);
  } else if (iid == kIidPersistHistory) {
    found = static_cast<IPersistHistory*>(this);
  } else if (iid == IID_IOleObject) {
    found = static_cast<IOleObject*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject ||
             iid == IID_IOleInPlaceObjectWindowless) {
    found = static_cast<IOleInPlaceObjectWindowless*>(this);
  } else if (iid == IID_IOleInPlaceActiveObject) {
    found = static_cast<IOleInPlaceActiveObject*>(this);
  } else if (iid == IID_IOleControl) {
    found = static_cast<IOleControl*>(this);
  } else if (iid == IID_IViewObject || iid == IID_IViewObject2 || iid == IID_IViewObjectEx) {
    found = static_cast<IViewObjectEx*>(this);
  } else if (iid == IID_IQuickActivate) {
    found = static_cast<IQuickActivate*>(this);
  } else if (iid == IID_IDataObject) {
    found = static_cast<IDataObject*>(this);
  } else if (iid == IID_ISpecifyPropertyPages) {
    found = static_cast<ISpecifyPropertyPages*>(this);
  } else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2) {
    found = static_cast<IProvideClassInfo2*>(this);
  } else if (iid == IID_ISupportErrorInfo) {
    found = static_cast<ISupportErrorInfo*>(this);
  } else if (iid == IID_IObjectSafety) {
    found = static_cast<IObjectSafety*>(this);
  } else if (iid == IID_IQuillonMessageRoute) {
    found = static_cast<IQuillonMessageRoute*>(this);
  }
  *object = found;
  if (found == nullptr) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) QuillonCtl::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) QuillonCtl::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

ITypeInfo* QuillonCtl::TypeInfo(REFGUID guid) {
  ComPtr<ITypeInfo>& slot = guid == CLSID_QuillonCtl ? classInfo_ : interfaceInfo_;
  if (!slot) {
    ComPtr<ITypeLib> library;
    if (FAILED(::LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &library))) return nullptr;
    library->GetTypeInfoOfGuid(guid, &slot);
  }
  return slot.Get();
}

HRESULT QuillonCtl::Fail(const wchar_t* description) {
  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(::CreateErrorInfo(&create))) {
    create->SetGUID(IID_IQuillonCtl);
    create->SetSource(const_cast<LPOLESTR>(L"QuillonCtl.QuillonCtl.1"));
    create->SetDescription(const_cast<LPOLESTR>(description));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(&info))) ::SetErrorInfo(0, info.Get());
  }
  return E_FAIL;
}

HRESULT QuillonCtl::NotBuilt(const wchar_t* what) {
  Fail(what);
  return E_NOTIMPL;
}

// ---- IProvideClassInfo2, ISupportErrorInfo, IObjectSafety, ISpecifyPropertyPages

STDMETHODIMP QuillonCtl::GetClassInfo(ITypeInfo** info) {
  return Guarded([&] {
    if (info == nullptr) return E_POINTER;
    *info = TypeInfo(CLSID_QuillonCtl);
    if (*info == nullptr) return E_FAIL;
    (*info)->AddRef();
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::GetGUID(DWORD kind, GUID* guid) {
  if (guid == nullptr) return E_POINTER;
  *guid = GUID_NULL;
  // The control fires no events: it has no outgoing interface to name.
  return kind == GUIDKIND_DEFAULT_SOURCE_DISP_IID ? E_FAIL : E_INVALIDARG;
}

STDMETHODIMP QuillonCtl::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IID_IQuillonCtl ? S_OK : S_FALSE;
}

STDMETHODIMP QuillonCtl::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) {
  if (supported == nullptr || enabled == nullptr) return E_POINTER;
  ComPtr<IUnknown> probe;
  if (FAILED(QueryInterface(iid, &probe))) {
    *supported = *enabled = 0;
    return E_NOINTERFACE;
  }
  *supported = kSafetyMask;
  *enabled = safety_;
  return S_OK;
}

STDMETHODIMP QuillonCtl::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
  ComPtr<IUnknown> probe;
  if (FAILED(QueryInterface(iid, &probe))) return E_NOINTERFACE;
  if ((mask & ~kSafetyMask) != 0) return E_FAIL;
  safety_ = (safety_ & ~mask) | (enabled & mask);
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetPages(CAUUID* pages) {
  if (pages == nullptr) return E_POINTER;
  // No property pages: every property is reached through the interface.
  pages->cElems = 0;
  pages->pElems = nullptr;
  return S_OK;
}

STDMETHODIMP QuillonCtl::SetMessageSink(ControlMessageSink sink, void* context) {
  sink_ = sink;
  sinkContext_ = context;
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetStatusTexts(char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return E_POINTER;
  const std::string text = statusLine_.StatusMode + "\n" + statusLine_.StatusPrompt + "\n" +
                           statusLine_.StatusResult;
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
  text.copy(buffer, n);
  buffer[n] = '\0';
  return S_OK;
}

void QuillonCtl::ShowMessage(const std::string& text) {
  if (sink_ != nullptr) {
    sink_(text.c_str(), sinkContext_);
    return;
  }
  ::MessageBoxA(nullptr, text.c_str(), Win32DocumentPlatform::kCaption, MB_OK);
}

// ---- ViewListener

void QuillonCtl::InvalidateView() {
  viewChangePending_ = true;
  if (window_ != nullptr) ::InvalidateRect(window_, nullptr, FALSE);
  FireViewChange();
}

void QuillonCtl::InvalidateArea(const ViewRect& area, bool erase) {
  if (window_ == nullptr) return;
  const RECT r{area.left, area.top, area.right, area.bottom};
  ::InvalidateRect(window_, &r, erase ? TRUE : FALSE);
}

void QuillonCtl::UpdateView() {
  if (window_ != nullptr) ::UpdateWindow(window_);
}

void QuillonCtl::ResetZoom() { context_->ForgetZoom(); }

void QuillonCtl::ResetRasterCache() { context_->RequestRasterCacheReset(); }

void QuillonCtl::FireViewChange() {
  if (viewSink_) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
  if (window_ == nullptr && inPlaceSite_) {
    ComPtr<IOleInPlaceSiteWindowless> windowless;
    if (SUCCEEDED(inPlaceSite_.As(&windowless))) windowless->InvalidateRect(nullptr, FALSE);
  }
}

void QuillonCtl::SaveSettings() {
  SaveViewSettings(settings_, nav_.frame.ScaleFactor, statusBarVisible_);
  if (context_->document() != nullptr)
    SavePlotScale(settings_, savedScalePercentage_, savedScaleOption_);
  if (const auto setup = printer_.Saved()) SavePrinterSetup(settings_, *setup);
}

void QuillonCtl::LoadPrintSettings() {
  savedScaleOption_ = 0;
  savedScalePercentage_ = 0;
  context_->SetPrintSettings({ScaleOption::None, 0});
  const SavedPlotScale scale = ReadPlotScale(settings_);
  if (scale.percentage) savedScalePercentage_ = *scale.percentage;
  if (scale.option) savedScaleOption_ = *scale.option;
  // A saved printer that is gone, or whose paper is gone, leaves the default printer's.
  if (const auto setup = ReadPrinterSetup(settings_)) printer_.Restore(*setup);
}

}  // namespace quillon
