#include "host/tool_bar.h"

#include <commctrl.h>

#include <iterator>

#include "host/command_ids.h"
#include "host/glyphs.h"
#include "host/host_texts.h"

namespace quillon::mirandel {
namespace {

constexpr ToolButton kButtons[] = {
    {0, 0, nullptr, true},
    {kCmdOpen, kGlyphOpen, kHintOpen, true},
    {kCmdExit, kGlyphExit, kHintExit, true},
    {0, 0, nullptr, true},
    {kCmdPrintView, kGlyphPrintView, kHintPrintView, false},
    {kCmdPrintMapButton, kGlyphPrintMap, kHintPrintMap, false},
    {0, 0, nullptr, true},
    {kCmdZoomIn, kGlyphZoomIn, kHintZoomIn, false},
    {kCmdZoomOut, kGlyphZoomOut, kHintZoomOut, false},
    {kCmdExtent, kGlyphExtent, kHintExtent, false},
};

constexpr wchar_t kSelfProperty[] = L"MirandelToolBar";

}  // namespace

void ToolBar::Create(HWND parent, StatusLine* status) {
  status_ = status;
  window_ = ::CreateWindowExW(
      0, TOOLBARCLASSNAMEW, L"",
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0,
      0, 0, 0, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) return;
  ::SendMessageW(window_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  images_.reset(CreateToolBarImages());
  ::SendMessageW(window_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
  ::SendMessageW(window_, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 22));
  TBBUTTON buttons[std::size(kButtons)] = {};
  for (size_t i = 0; i < std::size(kButtons); ++i) {
    const ToolButton& b = kButtons[i];
    buttons[i].idCommand = b.command;
    if (b.command == 0) {
      buttons[i].fsStyle = BTNS_SEP;
      buttons[i].iBitmap = 8;
    } else {
      buttons[i].iBitmap = b.glyph;
      buttons[i].fsStyle = BTNS_BUTTON;
      buttons[i].fsState = b.initiallyEnabled ? TBSTATE_ENABLED : 0;
    }
  }
  ::SendMessageW(window_, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));

  // Hints follow the mouse over the buttons, disabled ones included.
  ::SetPropW(window_, kSelfProperty, this);
  baseProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ToolBar::Proc)));
}

void ToolBar::Enable(int command, bool enabled) {
  ::SendMessageW(window_, TB_ENABLEBUTTON, command, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

void ToolBar::TrackHint(POINT point) {
  const int index =
      static_cast<int>(::SendMessageW(window_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
  int button = -1;
  if (index >= 0 && index < static_cast<int>(std::size(kButtons)) && kButtons[index].hint)
    button = index;
  if (button == hintButton_) return;
  hintButton_ = button;
  if (button < 0) {
    status_->EndHint();
    return;
  }
  status_->ShowHint(kButtons[button].hint);
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
  ::TrackMouseEvent(&track);
}

LRESULT CALLBACK ToolBar::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<ToolBar*>(::GetPropW(window, kSelfProperty));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_MOUSEMOVE:
      try {
        self->TrackHint(
            POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      } catch (...) {
        // A hint that cannot be shown is left out.
      }
      break;
    case WM_ERASEBKGND: {
      // The common control leaves its ground to the class, which has no brush.
      RECT all;
      ::GetClientRect(window, &all);
      ::FillRect(reinterpret_cast<HDC>(wParam), &all, ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_MOUSELEAVE:
      self->hintButton_ = -1;
      self->status_->EndHint();
      break;
    case WM_NCDESTROY: {
      WNDPROC base = self->baseProc_;
      ::RemovePropW(window, kSelfProperty);
      ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
      self->window_ = nullptr;
      return ::CallWindowProcW(base, window, message, wParam, lParam);
    }
    default:
      break;
  }
  return ::CallWindowProcW(self->baseProc_, window, message, wParam, lParam);
}

}  // namespace quillon::mirandel
