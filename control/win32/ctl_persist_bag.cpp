// QuillonCtl: IPersistPropertyBag. A web page's object parameters arrive here as text; the
// puts convert them through the type library as any script's would be.

#include <array>

#include "control/win32/quillon_ctl.h"

namespace quillon {

namespace {

struct NamedProperty {
  const wchar_t* name;
  DISPID id;
};

// After "_cx" and "_cy", in this order.
constexpr std::array<NamedProperty, 5> kNamed{{
    {L"DataFileName", 0x2},
    {L"xOrg", 0xd},
    {L"yOrg", 0xe},
    {L"ViewScale", 0xc},
    {L"Rot", 0xf},
}};

bool ReadExtent(IPropertyBag* bag, IErrorLog* log, const wchar_t* name, LONG& out) {
  UniqueVariant value;
  if (FAILED(bag->Read(name, value.get(), log))) return false;
  if (FAILED(::VariantChangeType(value.get(), value.get(), 0, VT_UI4))) return false;
  out = static_cast<LONG>((*value).ulVal);
  return true;
}

}  // namespace

STDMETHODIMP QuillonCtl::Load(IPropertyBag* bag, IErrorLog* log) {
  if (bag == nullptr) return E_POINTER;
  ReadExtent(bag, log, L"_cx", extent_.cx);
  ReadExtent(bag, log, L"_cy", extent_.cy);
  for (const NamedProperty& property : kNamed) {
    UniqueVariant value;
    // A property the bag does not hold keeps its current value.
    if (FAILED(bag->Read(property.name, value.get(), log))) continue;
    const HRESULT hr = PutProperty(property.id, *value);
    if (FAILED(hr)) return hr;
  }
  dirty_ = false;
  return S_OK;
}

STDMETHODIMP QuillonCtl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
  if (bag == nullptr) return E_POINTER;
  VARIANT extent{};
  extent.vt = VT_UI4;
  extent.ulVal = static_cast<ULONG>(extent_.cx);
  HRESULT hr = bag->Write(L"_cx", &extent);
  extent.ulVal = static_cast<ULONG>(extent_.cy);
  if (SUCCEEDED(hr)) hr = bag->Write(L"_cy", &extent);
  for (const NamedProperty& property : kNamed) {
    if (FAILED(hr)) break;
    UniqueVariant value;
    hr = GetProperty(property.id, *value);
    if (SUCCEEDED(hr)) hr = bag->Write(property.name, value.get());
  }
  if (SUCCEEDED(hr) && clearDirty) dirty_ = false;
  return hr;
}

}  // namespace quillon
