// QuillonCtl: the paint, the load it performs, the size-change rebuild.

#include <cmath>

#include "control/control_settings.h"
#include "control/win32/quillon_ctl.h"
#include "control/win32/saved_dc_state.h"
#include "control/win32/status_bar.h"
#include "render/win32/fast_line_device.h"
#include "render/win32/gdi_device.h"

namespace quillon {

namespace {

// The cursor during a full redraw; the previous one comes back when it ends.
class WaitCursor {
 public:
  explicit WaitCursor(bool show)
      : previous_(show ? ::SetCursor(::LoadCursor(nullptr, IDC_WAIT)) : nullptr), shown_(show) {}
  ~WaitCursor() {
    if (shown_) ::SetCursor(previous_);
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
  bool shown_;
};

}  // namespace

std::string QuillonCtl::AnsiDataFileName() const {
  // At most 1023 bytes of the ANSI code page.
  char ansi[1024] = {};
  ::WideCharToMultiByte(CP_ACP, 0, dataFileName_.c_str(), static_cast<int>(dataFileName_.size()),
                        ansi, sizeof ansi - 1, nullptr, nullptr);
  return ansi;
}

void QuillonCtl::ResetControlState() {
  nav_ = Navigation{};
  loaded_ = false;
  // A capture the tools held goes with them.
  if (mouse_ && mouse_->Capturing() && window_ != nullptr && ::GetCapture() == window_) {
    ::ReleaseCapture();
  }
  mouse_.emplace(nav_, static_cast<ViewListener&>(*this));
  statusBarForced_ = false;
  nav_.frame.ScaleFactor = kInitialScaleFactor;
  propertySetFlags_ = 0;
  statusLine_ = StatusLine{};
  statusBarVisible_ = true;
  bluePen_.reset(::CreatePen(PS_SOLID, 0, 0x00FF0000));
  redPen_.reset(::CreatePen(PS_SOLID, 0, 0x000000FF));
}

void QuillonCtl::CloseDocument() {
  // The document's pens and brushes were made on the back buffer's DC: they go with it.
  if (backBuffer_.exists()) {
    GdiDevice device(backBuffer_.dc());
    context_->CloseDocument(&device);
  } else {
    context_->CloseDocument();
  }
}

void QuillonCtl::RebuildForNewSize() {
  bluePen_.reset();
  redPen_.reset();
  SaveSettings();
  journal_.CloseForNewSize();
  printer_.Clear();
  CloseDocument();
  backBuffer_.Release();
  ResetControlState();
  restoreView_ = true;
}

bool QuillonCtl::LoadDocument(int bw, int bh) {
  const std::string ansi = AnsiDataFileName();
  if (!pendingPath_.empty() && pendingPath_ != ansi) {
    dataFileName_.assign(pendingPath_.begin(), pendingPath_.end());
    const int n = ::MultiByteToWideChar(CP_ACP, 0, pendingPath_.c_str(), -1, nullptr, 0);
    if (n > 0) {
      dataFileName_.assign(static_cast<std::size_t>(n), L'\0');
      ::MultiByteToWideChar(CP_ACP, 0, pendingPath_.c_str(), -1, dataFileName_.data(), n);
      dataFileName_.resize(static_cast<std::size_t>(n - 1));
    }
    nav_.view.xOrg = pendingXOrg_;
    nav_.view.yOrg = pendingYOrg_;
    nav_.view.Rot = pendingRot_;
    nav_.view.ViewScale = pendingViewScale_;
    propertySetFlags_ |= kDataFileNamePut | kXOrgPut | kYOrgPut | kRotPut | kViewScalePut;
    pendingPath_.clear();
  }
  ViewFrame& frame = nav_.frame;
  ViewState& view = nav_.view;
  frame.BufferWidth = bw & ~1;
  frame.BufferHeight = bh & ~1;
  fullBufferHeight_ = frame.BufferHeight;
  frame.ViewWidth = view.DrawExtentX = bw;
  frame.ViewHeight = view.DrawExtentY = bh;
  if (const auto shown = ReadStatusBar(settings_)) statusBarVisible_ = *shown;
  if (statusBarVisible_) {
    frame.BufferHeight -= kStatusBarHeight;
    frame.ViewHeight = view.DrawExtentY = frame.BufferHeight;
  }
  loaded_ = true;
  if (propertySetFlags_ & kRotPut) {
    propertySetFlags_ &= ~kRotPut;
  } else {
    view.Rot = ReadRotation(settings_);
  }
  SetExtentsToView(view, frame.ViewWidth, frame.ViewHeight);
  if (!(propertySetFlags_ & (kXOrgPut | kYOrgPut))) view.xOrg = view.yOrg = 0;
  propertySetFlags_ &= ~(kXOrgPut | kYOrgPut);

  if (context_->OpenDocument(AnsiDataFileName(), frame.ViewWidth, frame.ViewHeight) != 0) {
    loaded_ = false;
    return false;
  }
  if (window_ == nullptr && clientSite_) {
    if (!uiActive_) InPlaceActivate(OLEIVERB_UIACTIVATE);
    if (inPlaceActive_ && controlSite_) controlSite_->OnFocus(TRUE);
  }
  // The zoom step is the user's.
  if (const auto factor = ReadScaleFactor(settings_)) frame.ScaleFactor = *factor;
  // A printer set-up from the load on: the held one, or the default printer's; then what the
  // user's settings kept. The document's own print choice starts afresh.
  printer_.Acquire();
  printer_.DropDc();
  LoadPrintSettings();
  journal_.OpenAtLoad(ReadRecord(settings_), AnsiDataFileName(), frame.ViewWidth,
                      frame.ViewHeight + (statusBarVisible_ ? kStatusBarHeight : 0));
  return true;
}

void QuillonCtl::Paint(HDC target, const RECT& bounds) {
  WaitCursor wait(!nav_.drag.PanDragging);
  const int bw = bounds.right - bounds.left;
  const int bh = bounds.bottom - bounds.top;
  if (bw <= 0 || bh <= 0) return;
  const ViewState before = nav_.view;
  paintBounds_ = bounds;

  ViewFrame& frame = nav_.frame;
  // The drawing height was taken rounded down to even at the load: an odd window height
  // would otherwise look like a new size at every paint and rebuild each time.
  if (loaded_ && (bw != static_cast<int>(frame.ViewWidth) || (bh & ~1) != fullBufferHeight_)) {
    RebuildForNewSize();
  }
  if (!loaded_ && !LoadDocument(bw, bh)) return;
  if (restoreView_) {
    restoreView_ = false;
    put_ViewScale(before.ViewScale);
    put_xOrg(before.xOrg);
    put_yOrg(before.yOrg);
    put_Rot(before.Rot);
  }
  const int bufferHeight = frame.BufferHeight + (statusBarVisible_ ? kStatusBarHeight : 0);
  bool mustDraw = viewChangePending_;
  if (!backBuffer_.exists()) {
    if (!backBuffer_.Create(target, frame.BufferWidth, bufferHeight)) return;
    mustDraw = true;
  }
  if ((mustDraw || !reuseBackBuffer_) && !nav_.drag.PanDragging &&
      context_->document() != nullptr) {
    viewChangePending_ = false;
    SavedDcState state(backBuffer_.dc());
    backBuffer_.Clear(frame.BufferWidth, frame.BufferHeight);
    const bool scalePut = (propertySetFlags_ & kViewScalePut) != 0;
    const ViewState& view = nav_.view;
    GdiDevice gdi(backBuffer_.dc());
    FastLineDevice device(gdi);
    const DrawResult drawn = context_->DrawScreen(device,
                                                  {view.DrawExtentX, view.DrawExtentY, view.xOrg,
                                                   view.yOrg, view.ViewScale, view.Rot, scalePut},
                                                  AnsiDataFileName());
    nav_.view.ViewScale = drawn.zoom;
    if (scalePut) {
      nav_.view.DrawExtentX = drawn.width;
      nav_.view.DrawExtentY = drawn.height;
      propertySetFlags_ &= ~kViewScalePut;
    }
    frame.KpzXSize = static_cast<int>(std::trunc(drawn.page.width));
    frame.KpzYSize = static_cast<int>(std::trunc(drawn.page.height));
  }
  if (nav_.drag.PanDragging) {
    const ViewPoint shift = nav_.drag.PanDragOffset;
    backBuffer_.CopyShifted(target, shift.x, shift.y, frame.BufferWidth, frame.BufferHeight);
  } else {
    backBuffer_.CopyTo(target, 0, 0, frame.BufferWidth, frame.BufferHeight);
  }
  reuseBackBuffer_ = false;
  if (statusBarVisible_) DrawStatusBar(target, statusLine_, frame.BufferWidth, frame.BufferHeight);
  DrawMeasureOverlay(target);
  journal_.WriteSizesOnce(frame.KpzXSize, frame.KpzYSize);
}

}  // namespace quillon
