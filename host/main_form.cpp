#include "host/main_form.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "host/about_box.h"
#include "host/command_ids.h"
#include "host/form_metrics.h"
#include "host/glyphs.h"
#include "host/host_texts.h"
#include "host/main_menu.h"
#include "host/open_dialog.h"

namespace quillon::mirandel {
namespace {

constexpr int kDocumentMenuCommands[] = {kCmdPrintView, kCmdPrintMap, kCmdZoomIn, kCmdZoomOut,
                                         kCmdExtent};
constexpr int kDocumentButtons[] = {kCmdPrintView, kCmdPrintMapButton, kCmdZoomIn, kCmdZoomOut,
                                    kCmdExtent};
constexpr UINT kFirstMdiChild = 0xFF00;

}  // namespace

bool MainForm::Register(HINSTANCE instance) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = &MainForm::Proc;
  cls.hInstance = instance;
  cls.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  cls.lpszClassName = kMainFormClass;
  return ::RegisterClassExW(&cls) != 0;
}

bool MainForm::Create(HINSTANCE instance, const AtlContainer& container) {
  container_ = &container;
  shortCuts_.reset(CreateMainShortCuts());
  window_ = ::CreateWindowExW(0, kMainFormClass, kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              CW_USEDEFAULT, CW_USEDEFAULT, kMainFormWidth, kMainFormHeight,
                              nullptr, CreateMainMenu(), instance, this);
  return window_ != nullptr;
}

void MainForm::OnCreate() {
  icon_.reset(CreateProgramIcon(32));
  smallIcon_.reset(CreateProgramIcon(16));
  ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

  CLIENTCREATESTRUCT client{nullptr, kFirstMdiChild};
  mdiClient_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0,
                                 0, window_, nullptr, ::GetModuleHandleW(nullptr), &client);
  status_.Create(window_);
  toolBar_.Create(window_, &status_);
  control_.Create(window_, *container_);
  // Above the MDI client, which shows the workspace colour while the control is hidden.
  if (control_.window() != nullptr)
    ::SetWindowPos(control_.window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Layout();
}

void MainForm::Layout() {
  RECT client;
  ::GetClientRect(window_, &client);
  const int width = client.right;
  const int middle =
      std::max(0, static_cast<int>(client.bottom) - kToolBarHeight - kStatusLineHeight);
  ::MoveWindow(toolBar_.window(), 0, 0, width, kToolBarHeight, TRUE);
  ::MoveWindow(status_.window(), 0, client.bottom - kStatusLineHeight, width, kStatusLineHeight,
               TRUE);
  ::MoveWindow(mdiClient_, 0, kToolBarHeight, width, middle, TRUE);
  if (control_.window() != nullptr)
    ::MoveWindow(control_.window(), 0, kToolBarHeight, width, middle, TRUE);
}

void MainForm::OpenFile(const std::wstring& path) {
  if (ControlFailure failure = control_.PutDataFileName(path); failure.failed()) {
    Report(failure);
    return;
  }
  status_.SetText(kOpenedPrefix + path);
  if (control_.window() != nullptr) ::ShowWindow(control_.window(), SW_SHOW);
  EnableDocumentCommands();
}

void MainForm::EnableDocumentCommands() {
  if (documentCommands_) return;
  documentCommands_ = true;
  HMENU menu = ::GetMenu(window_);
  for (int command : kDocumentMenuCommands)
    ::EnableMenuItem(menu, command, MF_BYCOMMAND | MF_ENABLED);
  ::DrawMenuBar(window_);
  for (int command : kDocumentButtons) toolBar_.Enable(command, true);
}

void MainForm::Report(const ControlFailure& failure) {
  ::MessageBoxW(window_, failure.description.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
}

void MainForm::OnCommand(int command) {
  // Short cuts of disabled items never arrive; the guard keeps direct messages alike.
  const bool needsDocument = command == kCmdPrintView || command == kCmdPrintMap ||
                             command == kCmdZoomIn || command == kCmdZoomOut ||
                             command == kCmdExtent;
  if (needsDocument && !documentCommands_) return;
  ControlFailure failure;
  switch (command) {
    case kCmdOpen:
      if (std::optional<std::wstring> path = RunOpenDialog(window_)) OpenFile(*path);
      return;
    case kCmdExit:
      ::PostMessageW(window_, WM_CLOSE, 0, 0);
      return;
    case kCmdPrintView:
    case kCmdPrintMap:
      failure = control_.Plot(0);
      break;
    case kCmdZoomIn:
      failure = control_.Scale(1.5);
      break;
    case kCmdZoomOut:
      failure = control_.ScaleDown(0.66666);
      break;
    case kCmdExtent:
      failure = control_.Fit();
      break;
    case kCmdAbout:
    case kCmdNewWindow:
      if (about_ != nullptr) about_->Show();
      return;
    default:
      return;  // the print-map button among them
  }
  if (failure.failed()) Report(failure);
}

void MainForm::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
  const UINT flags = HIWORD(wParam);
  HMENU menu = reinterpret_cast<HMENU>(lParam);
  if (flags == 0xFFFF && menu == nullptr) {
    status_.EndHint();  // the menu closed
    return;
  }
  if ((flags & MF_POPUP) && menu == ::GetMenu(window_)) {
    status_.ShowHint(MenuPopupHint(LOWORD(wParam)));
    return;
  }
  status_.ShowHint(L"");
}

bool MainForm::TranslateShortCut(MSG& message) {
  if (window_ == nullptr) return false;
  // The menu's short cuts work from every window the frame owns (the About window too).
  if (message.hwnd == nullptr || ::GetAncestor(message.hwnd, GA_ROOTOWNER) != window_) return false;
  return ::TranslateAcceleratorW(window_, shortCuts_.get(), &message) != 0;
}

LRESULT MainForm::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_SIZE:
      // Laid out here: the frame's default would give the whole client area to the MDI client.
      Layout();
      return 0;
    case WM_COMMAND:
      if (lParam == 0 || reinterpret_cast<HWND>(lParam) == toolBar_.window()) {
        OnCommand(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_MENUSELECT:
      OnMenuSelect(wParam, lParam);
      return 0;
    case WM_EXITMENULOOP:
      status_.EndHint();
      return 0;
    case WM_DESTROY:
      control_.Release();
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefFrameProcW(window_, mdiClient_, message, wParam, lParam);
}

LRESULT CALLBACK MainForm::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainForm*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefFrameProcW(window, nullptr, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return ::DefFrameProcW(window, nullptr, message, wParam, lParam);
  }
  // No exception may leave a window procedure: a failed allocation drops this one message.
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

}  // namespace quillon::mirandel
