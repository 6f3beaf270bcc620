#include "host/about_box.h"

#include "host/form_metrics.h"
#include "host/glyphs.h"
#include "host/host_texts.h"

namespace quillon::mirandel {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

HWND AddChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y,
              int w, int h, int id, HFONT font) {
  HWND child = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

}  // namespace

bool AboutBox::Register(HINSTANCE instance) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = &AboutBox::Proc;
  cls.hInstance = instance;
  cls.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kAboutBoxClass;
  return ::RegisterClassExW(&cls) != 0;
}

bool AboutBox::Create(HINSTANCE instance, HWND owner) {
  RECT frame{0, 0, kAboutClientWidth, kAboutClientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  window_ = ::CreateWindowExW(kExStyle, kAboutBoxClass, kAboutCaption, kStyle, x, y, width, height,
                              owner, nullptr, instance, this);
  if (window_ == nullptr) return false;
  Show();
  return true;
}

void AboutBox::Show() {
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetForegroundWindow(window_);
  ::SetFocus(::GetDlgItem(window_, IDOK));
}

void AboutBox::OnCreate() {
  panel_ = RECT{8, 8, kAboutClientWidth - 8, 168};
  programIcon_.reset(CreateProgramIcon(32));
  picture_.reset(CreateViewerPicture(32));
  whiteBrush_.reset(::CreateSolidBrush(RGB(255, 255, 255)));
  HFONT gui = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  titleFont_.reset(::CreateFontW(-19, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_SWISS, L"Arial"));
  HFONT title = titleFont_ ? titleFont_.get() : gui;

  HWND icon = AddChild(window_, L"STATIC", L"", SS_ICON, 20, 20, 32, 32, 1001, gui);
  ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(programIcon_.get()), 0);
  AddChild(window_, L"STATIC", kAppTitle, SS_LEFT, 72, 20, 200, 24, 1002, title);
  AddChild(window_, L"STATIC", kAboutVersion, SS_LEFT, 72, 50, 210, 16, 1003, gui);
  AddChild(window_, L"STATIC", kAboutPublisher, SS_LEFT, 72, 78, 210, 16, 1004, gui);
  AddChild(window_, L"STATIC", kAboutDepartment, SS_LEFT, 72, 96, 210, 16, 1005, gui);
  HWND picture = AddChild(window_, L"STATIC", L"", SS_ICON, 20, 120, 32, 32, 1006, gui);
  ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(picture_.get()), 0);
  AddChild(window_, L"STATIC", kAboutPlatform, SS_LEFT, 72, 132, 210, 16, 1007, gui);
  AddChild(window_, L"BUTTON", kAboutOk, BS_DEFPUSHBUTTON | WS_TABSTOP,
           (kAboutClientWidth - 75) / 2, 180, 75, 25, IDOK, gui);
}

void AboutBox::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(window_, &ps);
  RECT inside = panel_;
  ::FillRect(dc, &inside, whiteBrush_.get());
  ::DrawEdge(dc, &inside, BDR_SUNKENOUTER, BF_RECT);
  ::EndPaint(window_, &ps);
}

LRESULT CALLBACK AboutBox::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<AboutBox*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<AboutBox*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      self->OnCreate();
      return 0;
    case WM_PAINT:
      self->Paint();
      return 0;
    case WM_CTLCOLORSTATIC: {
      // The texts and pictures stand on the white panel.
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(self->whiteBrush_.get());
    }
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ::ShowWindow(window, SW_HIDE);  // kept for the next "Acerca de"
        return 0;
      }
      break;
    case WM_CLOSE:
      ::ShowWindow(window, SW_HIDE);
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->window_ = nullptr;
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quillon::mirandel
