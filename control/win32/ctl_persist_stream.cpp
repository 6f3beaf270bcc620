// QuillonCtl: IPersist, IPersistStreamInit and IPersistStorage. The storage holds the same
// record as the stream, in its stream "Contents".

#include "control/property_stream.h"
#include "control/win32/com_guard.h"
#include "control/win32/quillon_ctl.h"

namespace quillon {

namespace {

constexpr const wchar_t* kContentsStream = L"Contents";

enum Dispid : DISPID {
  kDataFileName = 0x2,
  kViewScale = 0xc,
  kXOrg = 0xd,
  kYOrg = 0xe,
  kRot = 0xf
};

}  // namespace

HRESULT QuillonCtl::PutProperty(DISPID id, VARIANT& value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  return Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                nullptr);
}

HRESULT QuillonCtl::GetProperty(DISPID id, VARIANT& value) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  return Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                nullptr);
}

STDMETHODIMP QuillonCtl::GetClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = CLSID_QuillonCtl;
  return S_OK;
}

STDMETHODIMP QuillonCtl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

STDMETHODIMP QuillonCtl::InitNew() {
  dirty_ = false;
  return S_OK;
}

STDMETHODIMP QuillonCtl::Load(IStream* stream) {
  return Guarded([&] {
    if (stream == nullptr) return E_POINTER;
    const auto properties = DecodeProperties([&](void* out, std::size_t bytes) {
      ULONG got = 0;
      return SUCCEEDED(stream->Read(out, static_cast<ULONG>(bytes), &got)) && got == bytes;
    });
    if (!properties) return E_FAIL;
    extent_.cx = static_cast<LONG>(properties->cx);
    extent_.cy = static_cast<LONG>(properties->cy);
    // Through the puts, in the persisted order, as a host setting them would.
    UniqueVariant name;
    (*name).vt = VT_BSTR;
    (*name).bstrVal =
        ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(properties->DataFileName.data()),
                            static_cast<UINT>(properties->DataFileName.size()));
    HRESULT hr = PutProperty(kDataFileName, *name);
    VARIANT number{};
    number.vt = VT_R8;
    number.dblVal = properties->xOrg;
    if (SUCCEEDED(hr)) hr = PutProperty(kXOrg, number);
    number.dblVal = properties->yOrg;
    if (SUCCEEDED(hr)) hr = PutProperty(kYOrg, number);
    number.dblVal = properties->ViewScale;
    if (SUCCEEDED(hr)) hr = PutProperty(kViewScale, number);
    VARIANT rot{};
    rot.vt = VT_I4;
    rot.lVal = properties->Rot;
    if (SUCCEEDED(hr)) hr = PutProperty(kRot, rot);
    dirty_ = false;
    return SUCCEEDED(hr) ? S_OK : E_FAIL;
  });
}

STDMETHODIMP QuillonCtl::Save(IStream* stream, BOOL clearDirty) {
  return Guarded([&] {
    if (stream == nullptr) return E_POINTER;
    PersistedProperties p;
    p.cx = static_cast<std::uint32_t>(extent_.cx);
    p.cy = static_cast<std::uint32_t>(extent_.cy);
    p.DataFileName.assign(dataFileName_.begin(), dataFileName_.end());
    p.xOrg = nav_.view.xOrg;
    p.yOrg = nav_.view.yOrg;
    p.ViewScale = nav_.view.ViewScale;
    p.Rot = nav_.view.Rot;
    const auto bytes = EncodeProperties(p);
    ULONG written = 0;
    const HRESULT hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    if (FAILED(hr)) return hr;
    if (written != bytes.size()) return STG_E_MEDIUMFULL;
    if (clearDirty) dirty_ = false;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::GetSizeMax(ULARGE_INTEGER* size) {
  return Guarded([&] {
    if (size == nullptr) return E_POINTER;
    PersistedProperties p;
    p.DataFileName.assign(dataFileName_.begin(), dataFileName_.end());
    size->QuadPart = EncodeProperties(p).size();
    return S_OK;
  });
}

// ---- IPersistStorage

STDMETHODIMP QuillonCtl::InitNew(IStorage*) { return InitNew(); }

STDMETHODIMP QuillonCtl::Load(IStorage* storage) {
  if (storage == nullptr) return E_POINTER;
  ComPtr<IStream> stream;
  const HRESULT hr =
      storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream);
  if (FAILED(hr)) return hr;
  return Load(stream.Get());
}

STDMETHODIMP QuillonCtl::Save(IStorage* storage, BOOL) {
  if (storage == nullptr) return E_POINTER;
  ComPtr<IStream> stream;
  const HRESULT hr = storage->CreateStream(
      kContentsStream, STGM_WRITE | STGM_SHARE_EXCLUSIVE | STGM_CREATE, 0, 0, &stream);
  if (FAILED(hr)) return hr;
  return Save(stream.Get(), TRUE);
}

STDMETHODIMP QuillonCtl::SaveCompleted(IStorage*) { return S_OK; }
STDMETHODIMP QuillonCtl::HandsOffStorage() { return S_OK; }

}  // namespace quillon
