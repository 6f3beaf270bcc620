// QuillonCtl: IPersistHistory. Loading only remembers the path and view; the next paint
// opens the document.

#include "control/history_record.h"
#include "control/win32/com_guard.h"
#include "control/win32/quillon_ctl.h"

namespace quillon {

STDMETHODIMP QuillonCtl::SaveHistory(IStream* stream) {
  return Guarded([&] {
    if (stream == nullptr) return E_POINTER;
    HistoryRecord record;
    record.xOrg = nav_.view.xOrg;
    record.yOrg = nav_.view.yOrg;
    record.ViewScale = nav_.view.ViewScale;
    record.Rot = nav_.view.Rot;
    record.path = AnsiDataFileName();
    const auto bytes = EncodeHistory(record);
    ULONG written = 0;
    const HRESULT hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    if (FAILED(hr)) return hr;
    return written == bytes.size() ? S_OK : STG_E_MEDIUMFULL;
  });
}

STDMETHODIMP QuillonCtl::LoadHistory(IStream* stream, IBindCtx*) {
  return Guarded([&] {
    if (stream == nullptr) return E_POINTER;
    std::array<std::uint8_t, HistoryRecord::kSize> bytes{};
    ULONG got = 0;
    if (FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &got)) ||
        got != bytes.size()) {
      return E_FAIL;
    }
    const auto record = DecodeHistory(bytes);
    // A record whose rotation is no quarter turn would give the view no orientation.
    if (!record || !IsQuarterTurn(record->Rot)) return E_FAIL;
    pendingPath_ = record->path;
    pendingXOrg_ = record->xOrg;
    pendingYOrg_ = record->yOrg;
    pendingViewScale_ = record->ViewScale;
    pendingRot_ = record->Rot;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::SetPositionCookie(DWORD) { return E_NOTIMPL; }

STDMETHODIMP QuillonCtl::GetPositionCookie(DWORD* cookie) {
  if (cookie != nullptr) *cookie = 0;
  return E_NOTIMPL;
}

}  // namespace quillon
