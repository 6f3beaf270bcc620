// QuillonCtl: the child window, its class and its messages.

#include "control/win32/module.h"
#include "control/win32/quillon_ctl.h"
#include "settings/win32/modal_dialog.h"

namespace quillon {

namespace {

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* control = reinterpret_cast<QuillonCtl*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (control == nullptr) return ::DefWindowProcA(window, msg, wParam, lParam);
  // No C++ exception may unwind into the system's dispatch loop.
  try {
    return control->HandleMessage(window, msg, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

bool RegisterWindowClass() {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExA(ModuleHandle(), kControlWindowClass, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  // A resize repaints the whole window, so the paint sees the new size and rebuilds.
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ControlWindowProc;
  wc.hInstance = ModuleHandle();
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kControlWindowClass;
  return ::RegisterClassExA(&wc) != 0;
}

}  // namespace

bool QuillonCtl::CreateControlWindow(HWND parent, const RECT& pos) {
  if (window_ != nullptr) return true;
  if (!RegisterWindowClass()) return false;
  window_ = ::CreateWindowExA(0, kControlWindowClass, "",
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, pos.left,
                              pos.top, pos.right - pos.left, pos.bottom - pos.top, parent, nullptr,
                              ModuleHandle(), this);
  return window_ != nullptr;
}

void QuillonCtl::DestroyControlWindow() {
  // A settings dialog open over the control goes with its window.
  CloseOpenDialog(&openDialog_);
  if (window_ == nullptr) return;
  HWND window = window_;
  window_ = nullptr;
  ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  ::DestroyWindow(window);
}

LRESULT QuillonCtl::HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      RECT client{};
      ::GetClientRect(window, &client);
      if (wParam != 0) {
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
      }
      PAINTSTRUCT ps{};
      HDC dc = ::BeginPaint(window, &ps);
      if (dc != nullptr) Paint(dc, client);
      ::EndPaint(window, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      // The paint covers the whole client area.
      return 1;
    case WM_MOUSEACTIVATE:
      if (!uiActive_) InPlaceActivate(OLEIVERB_UIACTIVATE);
      return MA_ACTIVATE;
    case WM_SETFOCUS:
      if (controlSite_) controlSite_->OnFocus(TRUE);
      return 0;
    case WM_KILLFOCUS:
      if (controlSite_) controlSite_->OnFocus(FALSE);
      return 0;
    case WM_COMMAND:
      // The menu's commands, also when a host's own menu or accelerator sends them.
      if (HIWORD(wParam) == 0 && lParam == 0 &&
          (RunSettingsCommand(LOWORD(wParam)) ||
           (loaded_ && RunMenuCommand(LOWORD(wParam), nav_.view)))) {
        return 0;
      }
      return ::DefWindowProcA(window, msg, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETCURSOR:
      return OnSetCursor(window, wParam, lParam);
    case WM_CONTEXTMENU:
      OnContextMenu(window, lParam);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (wParam != VK_ESCAPE) return ::DefWindowProcA(window, msg, wParam, lParam);
      OnKey(wParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
      OnButtonDown(lParam);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick();
      return 0;
    case WM_CANCELMODE:
      OnCancelMode();
      return ::DefWindowProcA(window, msg, wParam, lParam);
    case WM_MOUSEWHEEL:
      return OnMouseWheel(window, wParam, lParam);
    default:
      return ::DefWindowProcA(window, msg, wParam, lParam);
  }
}

}  // namespace quillon
