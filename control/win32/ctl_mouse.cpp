// QuillonCtl: the mouse and key input of the tools, and what their answers do on the window:
// capture, cursor, inverted figures, status texts and repaints.

#include <windowsx.h>


#include "control/win32/cursors.h"
#include "control/win32/quillon_ctl.h"
#include "control/win32/rubber_figures.h"
#include "settings/ruler_units.h"

namespace quillon {

namespace {

// The messages carry client positions as two unsigned 16-bit numbers; a position left of or
// above a captured window thus comes out far beyond the drawing area, where no tool takes it.
ViewPoint ClientPoint(LPARAM lParam) {
  return {static_cast<int>(LOWORD(lParam)), static_cast<int>(HIWORD(lParam))};
}

}  // namespace

void QuillonCtl::RunTools(const std::function<MouseResponse(MouseTools&)>& input) {
  // The figure as it is on the screen now: an input that ends or resets measuring removes it.
  const std::vector<ViewPoint> before = mouse_->MeasureFigure();
  const bool polygonBefore = mouse_->Measure().PolygonMode();
  const MouseResponse response = input(*mouse_);
  ApplyResponse(response, before, polygonBefore);
}

void QuillonCtl::ApplyResponse(const MouseResponse& r, std::span<const ViewPoint> figureBefore,
                               bool polygonBefore) {
  if (r.removeMeasureFigure && window_ != nullptr) {
    WindowDc windowDc(window_);
    if (windowDc.get() != nullptr) {
      InvertingDc dc(windowDc.get());
      DrawMeasureFigure(dc, figureBefore, polygonBefore, bluePen_.get());
    }
  }
  DrawRubberFigures(window_, r.figures, Pens(), formOutline_);
  if (r.capture && window_ != nullptr) ::SetCapture(window_);
  if (r.releaseCapture && window_ != nullptr && ::GetCapture() == window_) ::ReleaseCapture();
  SetToolCursor(r.cursor);
  if (r.status.mode) statusLine_.SetMode(*r.status.mode);
  if (r.status.prompt) statusLine_.SetPrompt(*r.status.prompt);
  if (r.status.result) statusLine_.SetResult(*r.status.result);
  if (r.placeFormAt) OnPlacementStep(*r.placeFormAt);
  if (r.repaintFromBackBuffer) RepaintFromBackBuffer();
}

void QuillonCtl::RepaintFromBackBuffer() {
  if (!viewChangePending_) reuseBackBuffer_ = true;
  if (window_ != nullptr) ::InvalidateRect(window_, nullptr, FALSE);
}

MeasurePage QuillonCtl::CurrentMeasurePage() const {
  MeasurePage page;
  if (const KpzDocument* doc = context_->document()) {
    page.pageWidth = doc->header.pageWidth;
    page.pageHeight = doc->header.pageHeight;
  }
  page.KpzXSize = nav_.frame.KpzXSize;
  page.KpzYSize = nav_.frame.KpzYSize;
  return page;
}

void QuillonCtl::DrawMeasureOverlay(HDC target) {
  if (!mouse_->Measure().On()) return;
  // The paint copied a clean image: what measuring shows is drawn again over it.
  mouse_->TakeRedrawRubberLine();
  InvertingDc dc(target);
  const std::vector<ViewPoint> figure = mouse_->MeasureFigure();
  DrawMeasureFigure(dc, figure, mouse_->Measure().PolygonMode(), bluePen_.get());
  if (const auto line = mouse_->ShownRubberLine()) dc.Line(bluePen_.get(), line->from, line->to);
}

LRESULT QuillonCtl::OnSetCursor(HWND window, WPARAM wParam, LPARAM lParam) {
  // The tools set the cursor as the mouse moves and presses; over the drawing area nothing
  // else may change it.
  if (loaded_ && LOWORD(lParam) == HTCLIENT) return TRUE;
  return ::DefWindowProcA(window, WM_SETCURSOR, wParam, lParam);
}

void QuillonCtl::OnButtonDown(LPARAM lParam) {
  if (!loaded_) return;
  RunTools([&](MouseTools& tools) { return tools.Press(ClientPoint(lParam)); });
}

void QuillonCtl::OnMouseMove(WPARAM wParam, LPARAM lParam) {
  if (!loaded_) return;
  if (!uiActive_) InPlaceActivate(OLEIVERB_UIACTIVATE);
  const bool held = (wParam & MK_LBUTTON) != 0;
  RunTools([&](MouseTools& tools) { return tools.Move(ClientPoint(lParam), held); });
}

void QuillonCtl::OnButtonUp(LPARAM lParam) {
  if (!loaded_) return;
  const MeasurePage page = CurrentMeasurePage();
  const MeasureScale scale = MeasureScaleOf(rulerUnits_);
  RunTools([&](MouseTools& tools) { return tools.Release(ClientPoint(lParam), page, scale); });
}

void QuillonCtl::OnDoubleClick() {
  if (!loaded_) return;
  RunTools([](MouseTools& tools) { return tools.DoubleClick(); });
}

void QuillonCtl::OnKey(WPARAM key) {
  if (!loaded_ || key != VK_ESCAPE) return;
  RunTools([](MouseTools& tools) { return tools.Escape(); });
  HideForcedStatusBar();
}

void QuillonCtl::OnCancelMode() {
  if (!loaded_) return;
  RunTools([](MouseTools& tools) { return tools.CancelMode(); });
}

LRESULT QuillonCtl::OnMouseWheel(HWND window, WPARAM wParam, LPARAM lParam) {
  // Without a plot, or beyond the drawing area, the container may scroll with the wheel.
  if (!loaded_) return ::DefWindowProcA(window, WM_MOUSEWHEEL, wParam, lParam);
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ScreenToClient(window, &at);
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  bool taken = true;
  RunTools([&](MouseTools& tools) {
    MouseResponse r = tools.Wheel(delta, {at.x, at.y});
    taken = r.taken;
    return r;
  });
  return taken ? 0 : ::DefWindowProcA(window, WM_MOUSEWHEEL, wParam, lParam);
}

}  // namespace quillon
