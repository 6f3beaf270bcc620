// QuillonCtl: Copy. The shown area goes on the clipboard twice: as an enhanced metafile whose
// frame gives it its true physical size, and as a bitmap of the drawing area as on screen.

#include "control/win32/com_guard.h"
#include "control/win32/quillon_ctl.h"
#include "control/win32/saved_dc_state.h"
#include "control/win32/status_bar.h"
#include "interact/copy_geometry.h"
#include "render/win32/gdi_device.h"

namespace quillon {

namespace {

// White under the whole picture, as the paint clears its back buffer.
void ClearToWhite(HDC dc, int right, int bottom) {
  ::SetBkColor(dc, RGB(255, 255, 255));
  ::SelectObject(dc, ::GetStockObject(NULL_PEN));
  ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
  ::Rectangle(dc, 0, 0, right + 1, bottom + 1);
}

class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
  ~ClipboardSession() {
    if (open_) ::CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

}  // namespace

STDMETHODIMP QuillonCtl::Copy() {
  return Guarded([&] {
    if (!loaded_ || context_->document() == nullptr) return NotLoaded();
    CopyToClipboard();
    return S_OK;
  });
}

void QuillonCtl::CopyToClipboard() {
  WindowDc screen(window_);
  if (screen.get() == nullptr) return;
  UniqueEnhMetaFile picture = DrawTrueSizeMetafile(screen.get());
  UniqueBitmap pixels = DrawViewBitmap(screen.get());
  if (!picture && !pixels) return;
  // Owned by the control's window: on Windows, a clipboard emptied while opened without an
  // owner refuses SetClipboardData.
  ClipboardSession clipboard(window_);
  if (!clipboard.open() || !::EmptyClipboard()) return;
  // From a successful SetClipboardData on, the handle is the clipboard's.
  if (picture && ::SetClipboardData(CF_ENHMETAFILE, picture.get()) != nullptr) picture.release();
  if (pixels && ::SetClipboardData(CF_BITMAP, pixels.get()) != nullptr) pixels.release();
}

UniqueEnhMetaFile QuillonCtl::DrawTrueSizeMetafile(HDC screen) {
  const auto measure = context_->pageMeasure();
  if (!measure) return {};
  const ScreenMetrics metrics{::GetDeviceCaps(screen, HORZSIZE), ::GetDeviceCaps(screen, VERTSIZE),
                              ::GetDeviceCaps(screen, HORZRES), ::GetDeviceCaps(screen, VERTRES),
                              ::GetDeviceCaps(screen, LOGPIXELSX)};
  const PaintBounds bounds{paintBounds_.left, paintBounds_.top, paintBounds_.right,
                           paintBounds_.bottom};
  const auto geometry = ComputeCopyGeometry(metrics, measure->resolution, nav_.view, nav_.frame,
                                            bounds, statusBarVisible_ ? kStatusBarHeight : 0);
  if (!geometry) return {};
  const RECT frame{geometry->frameLeft, geometry->frameTop, geometry->frameRight,
                   geometry->frameBottom};
  HDC dc = ::CreateEnhMetaFileA(screen, nullptr, &frame, "quillon\0\0");
  if (dc == nullptr) return {};
  {
    SavedDcState state(dc);
    ClearToWhite(dc, frame.right, frame.bottom);
    GdiDevice device(dc);
    context_->DrawScreen(device, geometry->metafileView, AnsiDataFileName());
  }
  return UniqueEnhMetaFile(::CloseEnhMetaFile(dc));
}

UniqueBitmap QuillonCtl::DrawViewBitmap(HDC screen) {
  const int width = nav_.frame.BufferWidth;
  const int height = nav_.frame.BufferHeight;
  if (width <= 0 || height <= 0) return {};
  UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
  if (!bitmap) return {};
  {
    MemoryDc memory(screen, bitmap.get());
    if (!memory.valid()) return {};
    SavedDcState state(memory.dc());
    ClearToWhite(memory.dc(), width, height);
    const ViewState& view = nav_.view;
    GdiDevice device(memory.dc());
    context_->DrawScreen(
        device,
        {view.DrawExtentX, view.DrawExtentY, view.xOrg, view.yOrg, view.ViewScale, view.Rot, false},
        AnsiDataFileName());
  }
  return bitmap;
}

}  // namespace quillon
