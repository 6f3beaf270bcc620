// QuillonCtl: IViewObject, IViewObject2, IViewObjectEx and IDataObject. A screen or memory DC
// gets the same paint as the window; a metafile (either format) or a printer gets the plot itself,
// drawn at its own resolution, so that an embedded plot prints sharp.

#include <algorithm>

#include "control/win32/com_guard.h"
#include "control/win32/quillon_ctl.h"
#include "control/win32/saved_dc_state.h"
#include "control/win32/status_bar.h"
#include "render/legacy_metafile_device.h"
#include "render/win32/gdi_device.h"

namespace quillon {

namespace {

// A metafile DC reports its reference device's technology: its object type tells.
bool TakesVectors(HDC dc) {
  const DWORD type = ::GetObjectType(dc);
  if (type == OBJ_ENHMETADC || type == OBJ_METADC) return true;
  return type == OBJ_DC && ::GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER;
}

}  // namespace

void QuillonCtl::DrawViewAsVectors(HDC dc, const RECT& area) {
  const ViewFrame& frame = nav_.frame;
  const ViewState& view = nav_.view;
  const double shownHeight = frame.ViewHeight + (statusBarVisible_ ? kStatusBarHeight : 0);
  if (frame.ViewWidth <= 0 || shownHeight <= 0) return;
  SavedDcState state(dc);
  // An old-format metafile keeps the bounds' own units and no mapping of ours: the program
  // that plays it places it with its mapping, and the device below maps every point itself.
  const bool oldMetafile = ::GetObjectType(dc) == OBJ_METADC;
  // The mapping below works in device units: the bounds are turned into them first.
  POINT corners[2] = {{area.left, area.top}, {area.right, area.bottom}};
  if (!oldMetafile) ::LPtoDP(dc, corners, 2);
  const double width = corners[1].x - corners[0].x;
  const double height = corners[1].y - corners[0].y;
  // The window's drawing area scaled to the bounds, proportions kept.
  const double k = std::min(width / frame.ViewWidth, height / shownHeight);
  if (!(k > 0)) return;
  const int right = corners[0].x + static_cast<int>(frame.ViewWidth * k);
  const int bottom = corners[0].y + static_cast<int>(frame.ViewHeight * k);
  if (!oldMetafile) {
    ::SetMapMode(dc, MM_TEXT);
    ::SetViewportOrgEx(dc, 0, 0, nullptr);
    ::SetWindowOrgEx(dc, 0, 0, nullptr);
  }
  ::IntersectClipRect(dc, corners[0].x, corners[0].y, right, bottom);
  ::SetBkColor(dc, RGB(255, 255, 255));
  ::SelectObject(dc, ::GetStockObject(NULL_PEN));
  ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
  ::Rectangle(dc, corners[0].x, corners[0].y, right + 1, bottom + 1);
  GdiDevice device(dc);
  LegacyMetafileDevice legacy(device, {corners[0].x, corners[0].y, right, bottom});
  context_->DrawScreen(
      oldMetafile ? static_cast<Device&>(legacy) : device,
      {view.DrawExtentX * k, view.DrawExtentY * k, corners[0].x + view.xOrg * k,
       corners[0].y + view.yOrg * k, EffectiveScale(view, frame) * k, view.Rot, false},
      AnsiDataFileName());
}

STDMETHODIMP QuillonCtl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC draw,
                              LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                              ULONG_PTR) {
  return Guarded([&] {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (draw == nullptr) return E_INVALIDARG;
    RECT area = posRect_;
    if (bounds != nullptr) area = RECT{bounds->left, bounds->top, bounds->right, bounds->bottom};
    if (area.right <= area.left || area.bottom <= area.top) return E_INVALIDARG;
    if (loaded_ && context_->document() != nullptr && TakesVectors(draw)) {
      DrawViewAsVectors(draw, area);
      return S_OK;
    }
    // The paint draws at the DC's origin; the container's bounds may lie elsewhere.
    SavedDcState state(draw);
    POINT old{};
    ::OffsetViewportOrgEx(draw, area.left, area.top, &old);
    Paint(draw, RECT{0, 0, area.right - area.left, area.bottom - area.top});
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                     LOGPALETTE** colours) {
  if (colours != nullptr) *colours = nullptr;
  return S_FALSE;
}

STDMETHODIMP QuillonCtl::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP QuillonCtl::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP QuillonCtl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  if ((aspects & DVASPECT_CONTENT) == 0 && sink != nullptr) return DV_E_DVASPECT;
  viewSink_ = sink;
  viewAdviseFlags_ = flags;
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects != nullptr) *aspects = DVASPECT_CONTENT;
  if (flags != nullptr) *flags = viewAdviseFlags_;
  if (sink != nullptr) {
    *sink = viewSink_.Get();
    if (*sink != nullptr) (*sink)->AddRef();
  }
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

STDMETHODIMP QuillonCtl::GetRect(DWORD aspect, LPRECTL rect) {
  if (rect == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *rect = RECTL{posRect_.left, posRect_.top, posRect_.right, posRect_.bottom};
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetViewStatus(DWORD* status) {
  if (status == nullptr) return E_POINTER;
  *status = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  return S_OK;
}

STDMETHODIMP QuillonCtl::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG,
                                       DWORD* hit) {
  if (bounds == nullptr || hit == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *hit = ::PtInRect(bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

STDMETHODIMP QuillonCtl::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG,
                                      DWORD* hit) {
  if (bounds == nullptr || location == nullptr || hit == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  RECT common{};
  *hit = ::IntersectRect(&common, bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*,
                                          LPSIZEL) {
  return E_NOTIMPL;
}

// ---- IDataObject: the current view as an enhanced metafile.

namespace {

bool IsViewFormat(const FORMATETC* format) {
  return format != nullptr && format->cfFormat == CF_ENHMETAFILE &&
         format->dwAspect == DVASPECT_CONTENT && (format->tymed & TYMED_ENHMF) != 0;
}

}  // namespace

STDMETHODIMP QuillonCtl::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (format == nullptr || medium == nullptr) return E_POINTER;
  if (!IsViewFormat(format)) return DV_E_FORMATETC;
  int width = 0, height = 0;
  HDC meta = nullptr;
  {
    WindowDc screen(nullptr);
    width = MulDiv(extent_.cx, ::GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
    height = MulDiv(extent_.cy, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);
    const RECT frame{0, 0, extent_.cx, extent_.cy};  // .01 mm, as the metafile frame wants
    meta = ::CreateEnhMetaFileA(screen.get(), nullptr, &frame, "QuillonCtl\0View\0");
  }
  if (meta == nullptr) return E_OUTOFMEMORY;
  RECTL bounds{0, 0, width, height};
  Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, meta, &bounds, nullptr, nullptr, 0);
  HENHMETAFILE picture = ::CloseEnhMetaFile(meta);
  if (picture == nullptr) return E_OUTOFMEMORY;
  medium->tymed = TYMED_ENHMF;
  medium->hEnhMetaFile = picture;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

STDMETHODIMP QuillonCtl::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

STDMETHODIMP QuillonCtl::QueryGetData(FORMATETC* format) {
  return IsViewFormat(format) ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP QuillonCtl::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (out != nullptr) out->ptd = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP QuillonCtl::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP QuillonCtl::EnumFormatEtc(DWORD, IEnumFORMATETC** formats) {
  if (formats != nullptr) *formats = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP QuillonCtl::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                 DWORD* connection) {
  if (!dataAdvise_ && FAILED(::CreateDataAdviseHolder(&dataAdvise_))) return E_OUTOFMEMORY;
  return dataAdvise_->Advise(static_cast<IDataObject*>(this), format, flags, sink, connection);
}

STDMETHODIMP QuillonCtl::DUnadvise(DWORD connection) {
  if (!dataAdvise_) return OLE_E_NOCONNECTION;
  return dataAdvise_->Unadvise(connection);
}

STDMETHODIMP QuillonCtl::EnumDAdvise(IEnumSTATDATA** advise) {
  if (advise == nullptr) return E_POINTER;
  *advise = nullptr;
  if (!dataAdvise_) return E_FAIL;
  return dataAdvise_->EnumAdvise(advise);
}

}  // namespace quillon
