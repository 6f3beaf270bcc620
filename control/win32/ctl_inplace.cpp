// QuillonCtl: in-place activation, IOleWindow, IOleInPlaceObject(Windowless),
// IOleInPlaceActiveObject and IOleControl.

#include "control/win32/com_guard.h"
#include "control/win32/quillon_ctl.h"

namespace quillon {

HRESULT QuillonCtl::InPlaceActivate(LONG verb) {
  if (!clientSite_) return E_UNEXPECTED;
  if (!inPlaceActive_) {
    ComPtr<IOleInPlaceSite> site;
    if (FAILED(clientSite_.As(&site))) return E_FAIL;
    if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
    if (FAILED(site->OnInPlaceActivate())) return E_FAIL;
    inPlaceSite_ = site;
    inPlaceActive_ = true;
    clientSite_.As(&controlSite_);

    HWND parent = nullptr;
    site->GetWindow(&parent);
    RECT pos{}, clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    frame_.Reset();
    uiWindow_.Reset();
    site->GetWindowContext(&frame_, &uiWindow_, &pos, &clip, &info);
    posRect_ = pos;
    if (!CreateControlWindow(parent, pos)) return E_FAIL;
    SetExtentFromPixels(pos.right - pos.left, pos.bottom - pos.top);
  }
  if (verb == OLEIVERB_UIACTIVATE || verb == OLEIVERB_PRIMARY) {
    if (!uiActive_) {
      uiActive_ = true;
      inPlaceSite_->OnUIActivate();
      if (window_ != nullptr) ::SetFocus(window_);
      auto* active = static_cast<IOleInPlaceActiveObject*>(this);
      if (frame_) {
        frame_->SetActiveObject(active, nullptr);
        frame_->SetBorderSpace(nullptr);
      }
      if (uiWindow_) {
        uiWindow_->SetActiveObject(active, nullptr);
        uiWindow_->SetBorderSpace(nullptr);
      }
    }
  }
  if (window_ != nullptr) ::ShowWindow(window_, SW_SHOW);
  return S_OK;
}

// ---- IOleWindow

STDMETHODIMP QuillonCtl::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = window_;
  return window_ != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP QuillonCtl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// ---- IOleInPlaceObject

STDMETHODIMP QuillonCtl::InPlaceDeactivate() {
  if (!inPlaceActive_) return S_OK;
  UIDeactivate();
  inPlaceActive_ = false;
  DestroyControlWindow();
  if (inPlaceSite_) inPlaceSite_->OnInPlaceDeactivate();
  inPlaceSite_.Reset();
  frame_.Reset();
  uiWindow_.Reset();
  return S_OK;
}

STDMETHODIMP QuillonCtl::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (uiWindow_) uiWindow_->SetActiveObject(nullptr, nullptr);
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

STDMETHODIMP QuillonCtl::SetObjectRects(LPCRECT pos, LPCRECT) {
  if (pos == nullptr) return E_POINTER;
  posRect_ = *pos;
  if (window_ != nullptr) {
    ::SetWindowPos(window_, nullptr, pos->left, pos->top, pos->right - pos->left,
                   pos->bottom - pos->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetExtentFromPixels(pos->right - pos->left, pos->bottom - pos->top);
  return S_OK;
}

STDMETHODIMP QuillonCtl::ReactivateAndUndo() { return E_NOTIMPL; }

STDMETHODIMP QuillonCtl::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  // The message is handled here, not through the window procedure that guards it there.
  return Guarded([&] {
    if (window_ == nullptr) return S_FALSE;
    const LRESULT r = HandleMessage(window_, msg, wParam, lParam);
    if (result != nullptr) *result = r;
    return S_OK;
  });
}

STDMETHODIMP QuillonCtl::GetDropTarget(IDropTarget** target) {
  if (target == nullptr) return E_POINTER;
  *target = nullptr;
  return E_NOTIMPL;
}

// ---- IOleInPlaceActiveObject

STDMETHODIMP QuillonCtl::TranslateAccelerator(LPMSG msg) {
  return Guarded([&] {
    if (msg == nullptr || msg->message != WM_KEYDOWN) return S_FALSE;
    if (msg->wParam == VK_ESCAPE) {
      // Esc ends the control's tools; the container still sees the key.
      if (window_ != nullptr) HandleMessage(window_, msg->message, msg->wParam, msg->lParam);
      return S_FALSE;
    }
    if (msg->wParam == VK_TAB && !uiActive_) {
      // Tabbing into the control makes it the active one; the container still moves the focus.
      InPlaceActivate(OLEIVERB_UIACTIVATE);
    }
    return S_FALSE;
  });
}

STDMETHODIMP QuillonCtl::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP QuillonCtl::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP QuillonCtl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP QuillonCtl::EnableModeless(BOOL) { return S_OK; }

// ---- IOleControl

STDMETHODIMP QuillonCtl::GetControlInfo(CONTROLINFO* info) {
  if (info == nullptr) return E_POINTER;
  info->cb = sizeof *info;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP QuillonCtl::OnMnemonic(MSG*) { return E_NOTIMPL; }
STDMETHODIMP QuillonCtl::OnAmbientPropertyChange(DISPID) { return S_OK; }
STDMETHODIMP QuillonCtl::FreezeEvents(BOOL) { return S_OK; }

}  // namespace quillon
